#pragma once

#include <QString>
#include <sys/types.h>

// What a file-system entry that is no regular file is, in words for a message: "a named pipe",
// "a folder", "a device", "a socket", or "something else".
QString describeFileKind(mode_t mode);
