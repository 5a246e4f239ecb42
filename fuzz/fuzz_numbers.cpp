#include "errorrecord.h"
#include "numbers.h"

#include <QString>
#include <cmath>
#include <cstdint>
#include <cstdlib>

// Any text read as a number. Besides not crashing: read and tryRead agree, a number read is
// finite and its shortest text reads back as the same number, and a text that is no number
// fails with type mismatch or overflow and nothing else.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<double> value = Numbers::tryRead(text);
    qint32 error = 0;
    double read = 0;
    runTrapped([&] { read = Numbers::read(text); }, [&](const ErrorRecord &e) { error = e.number; });
    if (value) {
        if (error != 0 || read != *value || !std::isfinite(*value))
            std::abort();
        if (Numbers::read(Numbers::toText(*value)) != *value)
            std::abort();
        runTrapped([&] { Numbers::toInteger(*value); }, [](const ErrorRecord &) {});
    } else if (error != ErrorNumber::TypeMismatch && error != ErrorNumber::Overflow) {
        std::abort();
    }
    return 0;
}
