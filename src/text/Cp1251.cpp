#include "text/Cp1251.h"

#include <iconv.h>

#include <cerrno>
#include <mutex>

namespace {

// iconv descriptors are not thread-safe; one pair guarded by a mutex is plenty for short texts.
struct Converter {
    explicit Converter(const char* to, const char* from) : cd(iconv_open(to, from)) {}
    ~Converter() {
        if (cd != reinterpret_cast<iconv_t>(-1))
            iconv_close(cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    QByteArray run(const char* in, size_t inLeft, QByteArrayView replacement, size_t skipWidth) {
        QByteArray out;
        if (cd == reinterpret_cast<iconv_t>(-1))
            return out;
        std::lock_guard lock(mutex);
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        char* src = const_cast<char*>(in);
        char buf[1024];
        while (inLeft > 0) {
            char* dst = buf;
            size_t outLeft = sizeof buf;
            size_t rc = iconv(cd, &src, &inLeft, &dst, &outLeft);
            out.append(buf, static_cast<qsizetype>(dst - buf));
            if (rc == static_cast<size_t>(-1) && errno != E2BIG) {
                // Unconvertible or broken input: replace one character and go on.
                out.append(replacement);
                size_t skip = std::min(inLeft, skipWidth);
                src += skip;
                inLeft -= skip;
            }
        }
        return out;
    }

    iconv_t cd;
    std::mutex mutex;
};

Converter& toCp1251() {
    static Converter c("CP1251", "UTF-16LE");
    return c;
}

Converter& fromCp1251() {
    static Converter c("UTF-16LE", "CP1251");
    return c;
}

} // namespace

QByteArray ToCp1251(QStringView text) {
    if (text.isEmpty())
        return {};
    return toCp1251().run(reinterpret_cast<const char*>(text.utf16()), size_t(text.size()) * 2,
                          QByteArrayView("?"), 2);
}

QString FromCp1251(QByteArrayView bytes) {
    if (bytes.isEmpty())
        return {};
    // cp1251 has one undefined byte (0x98); replace it rather than lose the rest.
    QByteArray utf16 = fromCp1251().run(bytes.data(), size_t(bytes.size()), QByteArrayView("?\0", 2), 1);
    return QString(reinterpret_cast<const QChar*>(utf16.constData()), utf16.size() / 2);
}
