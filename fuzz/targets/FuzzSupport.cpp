#include "FuzzSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace fuzz {
namespace {

std::unique_ptr<QTemporaryDir>& scratch()
{
    static std::unique_ptr<QTemporaryDir> dir;
    return dir;
}

void dropMessage(QtMsgType, const QMessageLogContext&, const QString&) {}

} // namespace

QByteArray bytesOf(const std::uint8_t* data, std::size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

QString scratchFolder()
{
    auto& dir = scratch();
    if (!dir) {
        const QString base = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
        dir = std::make_unique<QTemporaryDir>(base + QStringLiteral("/kl-fuzz-XXXXXX"));
        if (!dir->isValid())
            fail("cannot create the scratch folder");
    }
    return dir->path();
}

QString writeScratchFile(const QString& name, const QByteArray& bytes)
{
    const QString path = scratchFolder() + u'/' + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        fail("cannot write a scratch file");
    return path;
}

void fail(const char* what)
{
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

} // namespace fuzz

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("KORLITH3D_REGISTRY_DIR", (fuzz::scratchFolder() + QStringLiteral("/registry")).toLocal8Bit());
    qInstallMessageHandler(fuzz::dropMessage);
    // The application object lives until the process ends and is never
    // destroyed: libFuzzer leaves through exit(), after Qt's own globals may
    // already be gone.
    static QCoreApplication* const app = new QCoreApplication(*argc, *argv);
    Q_UNUSED(app);
    std::atexit([] { fuzz::scratch().reset(); });
    return 0;
}
