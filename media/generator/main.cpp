// Writes the sample content of every tool below the given root folder.
#include "Content.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: klmediagen <output root>\n");
        return 2;
    }
    QElapsedTimer timer;
    timer.start();
    QString error;
    if (!kl::media::writeContent(args.at(1), error)) {
        std::fprintf(stderr, "klmediagen: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("klmediagen: sample content written to %s in %lld ms\n", qPrintable(args.at(1)),
                static_cast<long long>(timer.elapsed()));
    return 0;
}
