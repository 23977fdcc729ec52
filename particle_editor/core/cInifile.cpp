#include "core/cInifile.h"

#include <platform/Profile.h>

namespace emberly {

namespace {
constexpr int kValueBuffer = 255;     // 254 characters and the NUL
constexpr int kSectionBuffer = 8192;
} // namespace

QString cInifile::Value() const
{
    return platform::getProfileString(Section, Key, Default, kValueBuffer, Path);
}

void cInifile::setValue(const QString& value)
{
    QString clean = value;
    clean.remove(QChar(u'\0'));
    record(platform::writeProfileString(Section, Key, clean, Path));
}

void cInifile::DeleteKey()
{
    record(platform::deleteProfileKey(Section, Key, Path));
}

void cInifile::DeleteSection()
{
    record(platform::deleteProfileSection(Section, Path));
}

QString cInifile::INISection() const
{
    const QString names = platform::getProfileKeyNames(Section, kSectionBuffer, Path);
    return names.isEmpty() ? Default : names;
}

void cInifile::EnumerateCurrentSection(KeyList& sKey, int& iCount) const
{
    sKey.names = platform::splitNulList(INISection());
    sKey.names.removeAll(QString());
    iCount = sKey.count();
}

void cInifile::record(bool ok)
{
    success_ = ok;
    lastReturnCode_ = ok ? 1 : 0;
}

cInifile& sharedIniFile()
{
    static cInifile ini;
    return ini;
}

namespace {

cInifile& prepare(const QString& file, const QString& section, const QString& key = {})
{
    cInifile& ini = sharedIniFile();
    ini.Path = file;
    ini.Section = section;
    ini.Key = key;
    return ini;
}

} // namespace

int EnumerateIniKeys(const QString& file, const QString& section, KeyList& keys)
{
    cInifile& ini = prepare(file, section);
    ini.Default.clear();
    int count = 0;
    ini.EnumerateCurrentSection(keys, count);
    return count;
}

void DeleteIniKey(const QString& file, const QString& section, const QString& key)
{
    prepare(file, section, key).DeleteKey();
}

void DeleteIniSection(const QString& file, const QString& section)
{
    prepare(file, section).DeleteSection();
}

QString ReadIniValue(const QString& file, const QString& section, const QString& key)
{
    cInifile& ini = prepare(file, section, key);
    ini.Default.clear();
    return ini.Value();
}

void WriteIniValue(const QString& file, const QString& section, const QString& key, const QString& value)
{
    cInifile& ini = prepare(file, section, key);
    ini.Default.clear();
    ini.setValue(value);
}

} // namespace emberly
