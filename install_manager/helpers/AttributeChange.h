// What the attrib helper does: "attrib <file> -r" gives the owner write
// permission back, "+r" takes it away; without a switch it shows whether
// the file is read-only.
#pragma once

#include <QString>
#include <QStringList>

namespace stewardex::helpers {

struct AttributeOutcome {
    int exitCode = 0;
    QString output;   // the line the command prints, if any
};

// Switches (+r, -r, any letter case) and one file, in any order. The archive,
// system and hidden switches (a, s, h) are accepted and change nothing: the
// file system has no such attributes.
AttributeOutcome changeAttributes(const QStringList& arguments);

} // namespace stewardex::helpers
