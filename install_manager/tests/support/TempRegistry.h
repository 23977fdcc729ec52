// A temporary registry store (and folder) for one test: the process and the
// helpers it starts read and write the store there, never a real one.
#pragma once

#include <QByteArray>
#include <QTemporaryDir>
#include <QtGlobal>

namespace stewardex::testing {

class TempRegistry {
public:
    TempRegistry() : previous_(qgetenv("KORLITH3D_REGISTRY_DIR"))
    {
        qputenv("KORLITH3D_REGISTRY_DIR", folder_.path().toUtf8());
    }
    ~TempRegistry()
    {
        if (previous_.isEmpty())
            qunsetenv("KORLITH3D_REGISTRY_DIR");
        else
            qputenv("KORLITH3D_REGISTRY_DIR", previous_);
    }
    TempRegistry(const TempRegistry&) = delete;
    TempRegistry& operator=(const TempRegistry&) = delete;

    QString path() const { return folder_.path(); }

private:
    QTemporaryDir folder_;
    QByteArray previous_;
};

} // namespace stewardex::testing
