#include "core/DebugLog.h"

namespace kl::core {

bool DebugLog::open(const QString& path)
{
    close();
    file_.setFileName(path);
    return file_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text);
}

void DebugLog::close()
{
    if (file_.isOpen())
        file_.close();
}

void DebugLog::write(const QString& line)
{
    if (!file_.isOpen())
        return;
    file_.write(line.toUtf8());
    file_.write("\n");
    file_.flush();
}

} // namespace kl::core
