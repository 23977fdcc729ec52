// attrib "<file>" -r: gives the owner write permission back to a file (+r
// takes it away). Exit status 0 on success.
#include "helpers/AttributeChange.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    const auto outcome = stewardex::helpers::changeAttributes(arguments);
    if (!outcome.output.isEmpty())
        std::fprintf(outcome.exitCode == 0 ? stdout : stderr, "%s\n", outcome.output.toLocal8Bit().constData());
    return outcome.exitCode;
}
