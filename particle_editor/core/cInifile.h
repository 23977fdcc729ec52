// Access to INI files, one call at a time through the platform's
// private-profile functions: the properties say which file, section and key
// the next call uses. Nothing is cached; every read and write goes to the file.
#pragma once

#include <QString>
#include <QStringList>

namespace emberly {

// A 1-based list of names, as the enumeration hands them out.
struct KeyList {
    QStringList names;
    const QString& operator()(int index) const { return names.at(index - 1); }
    int count() const { return int(names.size()); }
};

class cInifile {
public:
    QString Path;
    QString Section;
    QString Key;
    QString Default;

    bool Success() const { return success_; }
    qint32 LastReturnCode() const { return lastReturnCode_; }

    // The value of Key in Section, or Default; 254 characters at most.
    QString Value() const;
    // Writes Key in Section with every NUL removed; sets Success.
    void setValue(const QString& value);
    void DeleteKey();
    void DeleteSection();
    // The key names of Section, each followed by a NUL, as a buffer of 8192
    // characters holds them.
    QString INISection() const;
    // The key names of Section in file order and their count (0 when the
    // section is empty or missing).
    void EnumerateCurrentSection(KeyList& sKey, int& iCount) const;

private:
    void record(bool ok);

    bool success_ = false;
    qint32 lastReturnCode_ = 0;
};

// The program's one INI object, made on first use.
cInifile& sharedIniFile();

// The module procedures: each sets up the shared object for one call.
int EnumerateIniKeys(const QString& file, const QString& section, KeyList& keys);
void DeleteIniKey(const QString& file, const QString& section, const QString& key);
void DeleteIniSection(const QString& file, const QString& section);
QString ReadIniValue(const QString& file, const QString& section, const QString& key);
void WriteIniValue(const QString& file, const QString& section, const QString& key, const QString& value);

} // namespace emberly
