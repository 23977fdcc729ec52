// Tests of saves into places that cannot be written: a read-only folder and a
// read-only file. File permissions do not bind root, and the test runs often
// run as root, so while a ScopedOrdinaryUser lives the process acts as the
// unprivileged user "nobody" (real and effective ids, so access() agrees),
// keeping root as its saved id to come back.
#pragma once

#include <QFile>
#include <QString>

#include <grp.h>
#include <unistd.h>

namespace kltest {

inline constexpr uid_t kNobody = 65534;

class ScopedOrdinaryUser {
public:
    ScopedOrdinaryUser()
    {
        if (geteuid() != 0) {
            bound_ = true;   // permissions already bind this user
            return;
        }
        if (setresgid(kNobody, kNobody, 0) != 0)
            return;
        if (setresuid(kNobody, kNobody, 0) != 0) {
            (void)setresgid(0, 0, 0);
            return;
        }
        dropped_ = true;
        bound_ = true;
    }
    ~ScopedOrdinaryUser()
    {
        if (dropped_) {
            (void)setresuid(0, 0, 0);
            (void)setresgid(0, 0, 0);
        }
    }
    ScopedOrdinaryUser(const ScopedOrdinaryUser&) = delete;
    ScopedOrdinaryUser& operator=(const ScopedOrdinaryUser&) = delete;

    // Whether permissions bind now (false: root could not give its rights up).
    bool bound() const { return bound_; }

private:
    bool dropped_ = false;
    bool bound_ = false;
};

// Sets a path's permissions while the object lives, the old ones after.
class ScopedPermissions {
public:
    ScopedPermissions(const QString& path, QFile::Permissions permissions)
        : path_(path), previous_(QFile::permissions(path))
    {
        ok_ = QFile::setPermissions(path, permissions);
    }
    ~ScopedPermissions() { QFile::setPermissions(path_, previous_); }
    ScopedPermissions(const ScopedPermissions&) = delete;
    ScopedPermissions& operator=(const ScopedPermissions&) = delete;
    bool ok() const { return ok_; }

private:
    QString path_;
    QFile::Permissions previous_;
    bool ok_ = false;
};

inline constexpr QFile::Permissions kReadOnlyFolder =
    QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
inline constexpr QFile::Permissions kOpenFolder = kReadOnlyFolder | QFile::WriteOwner | QFile::WriteGroup |
                                                  QFile::WriteOther;
inline constexpr QFile::Permissions kReadOnlyFile = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;

// The two places a save cannot write to, for a document at `file` directly
// inside `folder`: the folder read-only, or the folder open to everyone and
// the document read-only. Files stay readable for the rest of the test.
enum class Unwritable { Folder, File };

class ScopedUnwritable {
public:
    ScopedUnwritable(Unwritable what, const QString& folder, const QString& file)
        : folder_(folder, what == Unwritable::Folder ? kReadOnlyFolder : kOpenFolder),
          file_(file, what == Unwritable::File ? kReadOnlyFile : kReadOnlyFile | QFile::WriteOwner)
    {
    }
    bool ok() const { return folder_.ok() && file_.ok() && user_.bound(); }

private:
    ScopedPermissions folder_;
    ScopedPermissions file_;
    ScopedOrdinaryUser user_;   // last: it drops the rights after the permissions are set
};

inline const char* unwritableName(Unwritable what)
{
    return what == Unwritable::Folder ? "read-only folder" : "read-only file";
}

} // namespace kltest
