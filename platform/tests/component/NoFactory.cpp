// A library without the class factory export.
extern "C" __attribute__((visibility("default"))) int SomethingElse()
{
    return 1;
}
