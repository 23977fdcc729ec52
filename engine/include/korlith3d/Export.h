// KL_API marks the classes libkorlith3d.so exports. The library is built with
// hidden visibility, so anything without it stays inside the library. An
// exception type needs it too: its type information must be the one the
// library throws, or a catch in a tool may not match it.
#pragma once

#define KL_API __attribute__((visibility("default")))
