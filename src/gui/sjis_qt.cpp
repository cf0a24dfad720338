#include "gui/sjis_qt.h"

#include <QHash>
#include <QStringDecoder>
#include <QStringEncoder>

namespace hayate::gui {

namespace {

const char* codecName() {
    // ICU knows the code page by several names; take the first this Qt has.
    static const char* name = [] {
        for (const char* n : {"Shift_JIS", "windows-31j", "CP932"}) {
            if (QStringDecoder(n).isValid()) return n;
        }
        return "Shift_JIS";
    }();
    return name;
}

}  // namespace

QString toQt(std::string_view sjis) {
    if (sjis.empty()) return {};
    // Cells repaint one or two characters at a time; keep what was decoded.
    static QHash<QByteArray, QString> cache;
    const QByteArray key(sjis.data(), static_cast<qsizetype>(sjis.size()));
    if (sjis.size() <= 4) {
        auto it = cache.constFind(key);
        if (it != cache.constEnd()) return *it;
    }
    // Opening ICU's converter costs more than decoding a label's text: one
    // per thread, reset before each use.
    thread_local QStringDecoder decoder(codecName());
    decoder.resetState();
    QString text = decoder(key);
    if (sjis.size() <= 4 && cache.size() < 4096) cache.insert(key, text);
    return text;
}

std::string toSjis(const QString& text) {
    QString t = text;
    // Characters the Japanese code page has under another code point.
    t.replace(QChar(0x301C), QChar(0xFF5E));  // wave dash
    t.replace(QChar(0x2016), QChar(0x2225));  // double vertical line
    t.replace(QChar(0x2212), QChar(0xFF0D));  // minus sign
    t.replace(QChar(0x00A5), QChar('\\'));    // yen sign of the 5C key
    t.replace(QChar(0x203E), QChar('~'));     // overline of the 7E key
    QStringEncoder encoder(codecName());
    const QByteArray bytes = encoder(t);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QString cutToSjisBytes(const QString& text, std::size_t maxBytes) {
    if (toSjis(text).size() <= maxBytes) return text;
    std::size_t bytes = 0;
    qsizetype end = 0;
    while (end < text.size()) {
        const qsizetype n = text.at(end).isHighSurrogate() && end + 1 < text.size() ? 2 : 1;
        const std::size_t size = toSjis(text.mid(end, n)).size();
        if (bytes + size > maxBytes) break;
        bytes += size;
        end += n;
    }
    return text.left(end);
}

QString qtText(UserText text) {
    const std::string_view utf8 = utf8Text(text);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace hayate::gui
