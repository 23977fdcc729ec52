// DirectInput scan codes (set 1, with 0x80 added for the extended keys) for Qt keys.
#pragma once

namespace kl::input {

// Scan code of the Qt key (Qt::Key value), or 0 when the key has none.
int scanCodeOfQtKey(int qtKey);

} // namespace kl::input
