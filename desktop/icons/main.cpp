// Writes the tools' desktop icons at every hicolor size below a folder:
//   klicongen <icons root>   ->  <root>/<size>x<size>/apps/korlith3d-<tool>.png
#include "ToolIcons.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: klicongen <icons root>\n");
        return 2;
    }
    QString error;
    if (!kl::desktop::writeIcons(args.at(1), error)) {
        std::fprintf(stderr, "klicongen: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
