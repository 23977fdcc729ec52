// A library without version information and without the engine's members.
extern "C" __attribute__((visibility("default"))) int NotAComponent()
{
    return 0;
}
