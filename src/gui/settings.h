#pragma once

#include <QString>
#include <QVariant>

namespace aurelant {

// The program's settings hold the windows' sizes and places and the recent files, nothing that
// a command depends on. Each call looks at the file afresh, since another running copy of the
// program may have written it meanwhile; settings that cannot be read, or that another version
// of their layout wrote, count as none.
QVariant rememberedValue(const QString& key);
void rememberValue(const QString& key, const QVariant& value);

}  // namespace aurelant
