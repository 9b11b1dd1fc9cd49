#pragma once

// Shared helpers of the harnesses: a failed invariant aborts the run with a
// message, which libFuzzer reports as a crash and keeps the input of. The
// message goes where the sanitizers report, so it is seen even when the code
// under test has its own standard error closed (-close_fd_mask=2).

#include <QByteArray>
#include <QString>

#include <sanitizer/common_interface_defs.h>

#include <cstdlib>

#define FUZZ_STRINGIFY2(x) #x
#define FUZZ_STRINGIFY(x) FUZZ_STRINGIFY2(x)
#define FUZZ_CHECK(condition)                                                                                    \
    do {                                                                                                         \
        if (!(condition)) {                                                                                      \
            __sanitizer_report_error_summary("invariant broken: " #condition " (" __FILE__ ":" FUZZ_STRINGIFY(  \
                __LINE__) ")");                                                                                  \
            std::abort();                                                                                        \
        }                                                                                                        \
    } while (false)

namespace fuzz {

/// The input as text the way the program reads a file or a response:
/// UTF-8 with invalid sequences replaced.
inline QString text(const uint8_t *data, size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
}

inline QString text(const std::string &bytes)
{
    return QString::fromStdString(bytes);
}

} // namespace fuzz
