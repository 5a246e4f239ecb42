#include "generationsettings.h"

#include "ansicodepage.h"
#include "errorrecord.h"
#include "numbers.h"

#include <algorithm>

namespace {

constexpr qint32 SubscriptOutOfRange = 9;

const GenerationSettings::Symbol symbol(char16_t character)
{
    const QChar c(character);
    return { c, c == u'&' ? QStringLiteral("&&") : QString(c) };
}

QString withoutLookAlikes(const QString &characters)
{
    QString kept;
    kept.reserve(characters.size());
    for (const QChar c : characters) {
        if (!GenerationSettings::LookAlikeCharacters().contains(c))
            kept += c;
    }
    return kept;
}

// The letters and digits, whole and less the look-alikes.
struct LetterPools
{
    QString whole[3] = { QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ"),
                         QStringLiteral("abcdefghijklmnopqrstuvwxyz"), QStringLiteral("0123456789") };
    QString reduced[3] = { withoutLookAlikes(whole[0]), withoutLookAlikes(whole[1]),
                           withoutLookAlikes(whole[2]) };
};

const LetterPools &letterPools()
{
    static const LetterPools pools;
    return pools;
}

} // namespace

GenerationSettings::GenerationSettings(QObject *parent)
    : QObject(parent)
{
    m_symbolSelected.fill(true);
}

void GenerationSettings::resetToDefaults()
{
    setPasswordLength(QStringLiteral("10"));
    for (const CharacterClass c : { CharacterClass::Uppercase, CharacterClass::Lowercase,
                                    CharacterClass::Digit, CharacterClass::Symbol })
        setCount(c, QString());
    setAllSymbolsSelected(true);
    setNonPrintableChars(0);
    setExtendedSymbolChars(0);
    setUseDefault(true);
    setUserSeed(QStringLiteral("0"));
    setLeaveOutLookAlikes(false);
    setClipboardClearSeconds(0);
}

void GenerationSettings::copyFrom(const GenerationSettings &other)
{
    setPasswordLength(other.m_passwordLength);
    for (int c = 0; c < 4; ++c)
        setCount(CharacterClass(c), other.m_counts[std::size_t(c)].text);
    for (int i = 0; i < SymbolCount; ++i)
        setSymbolSelected(i, other.m_symbolSelected[std::size_t(i)]);
    setNonPrintableChars(other.m_nonPrintableChars);
    setExtendedSymbolChars(other.m_extendedSymbolChars);
    setUseDefault(other.m_useDefault);
    setUserSeed(other.m_userSeed);
    setLeaveOutLookAlikes(other.m_leaveOutLookAlikes);
    setClipboardClearSeconds(other.m_clipboardClearSeconds);
}

const std::array<GenerationSettings::Symbol, GenerationSettings::SymbolCount> &
GenerationSettings::SymbolTable()
{
    static const std::array<Symbol, SymbolCount> table = {
        symbol(u'~'), symbol(u'`'), symbol(u'!'), symbol(u'@'),  symbol(u'#'),  symbol(u'$'), symbol(u'%'),
        symbol(u'^'), symbol(u'&'), symbol(u'*'), symbol(u'('),  symbol(u')'),  symbol(u'-'), symbol(u'_'),
        symbol(u'+'), symbol(u'='), symbol(u'|'), symbol(u'\\'), symbol(u'{'),  symbol(u'}'), symbol(u'['),
        symbol(u']'), symbol(u':'), symbol(u';'), symbol(u'"'),  symbol(u'\''), symbol(u'<'), symbol(u'>'),
        symbol(u','), symbol(u'.'), symbol(u'?'), symbol(u'/'),
    };
    return table;
}

void GenerationSettings::setPasswordLength(const QString &text)
{
    if (text == m_passwordLength)
        return;
    m_passwordLength = text;
    Q_EMIT passwordLengthChanged(text);
}

QString GenerationSettings::count(CharacterClass characterClass) const
{
    return m_counts[std::size_t(characterClass)].text;
}

std::optional<double> GenerationSettings::countValue(CharacterClass characterClass) const
{
    const CountField &field = m_counts[std::size_t(characterClass)];
    if (field.error)
        return std::nullopt;
    return field.value;
}

GenerationSettings::CountField::CountField(const QString &typed)
    : text(typed)
{
    // Read once here with the reader every other caller uses, keeping its error as it is.
    runTrapped([&] { value = Numbers::read(text); }, [&](const ErrorRecord &failure) { error = failure; });
}

void GenerationSettings::setCount(CharacterClass characterClass, const QString &text)
{
    CountField &field = m_counts[std::size_t(characterClass)];
    if (text == field.text)
        return;
    field = CountField(text);
    ++m_countsRevision;
    switch (characterClass) {
    case CharacterClass::Uppercase:
        Q_EMIT numUppercaseCharsChanged(text);
        break;
    case CharacterClass::Lowercase:
        Q_EMIT numLowercaseCharsChanged(text);
        break;
    case CharacterClass::Digit:
        Q_EMIT numNumbersChanged(text);
        break;
    case CharacterClass::Symbol:
        Q_EMIT numSymbolsChanged(text);
        break;
    }
    Q_EMIT countChanged(characterClass, text);
}

bool GenerationSettings::SymbolSelected(int index) const
{
    if (index < 0 || index >= SymbolCount)
        raiseError(SubscriptOutOfRange, {}, QStringLiteral("Subscript out of range"));
    return m_symbolSelected[std::size_t(index)];
}

void GenerationSettings::setSymbolSelected(int index, bool selected)
{
    if (SymbolSelected(index) == selected)
        return;
    m_symbolSelected[std::size_t(index)] = selected;
    invalidatePool();
    Q_EMIT symbolSelectedChanged(index, selected);
}

void GenerationSettings::setAllSymbolsSelected(bool selected)
{
    for (int i = 0; i < SymbolCount; ++i)
        setSymbolSelected(i, selected);
}

int GenerationSettings::selectedSymbolCount() const
{
    return int(std::count(m_symbolSelected.begin(), m_symbolSelected.end(), true));
}

int GenerationSettings::checkBoxValue(int value)
{
    if (value < 0 || value > 2)
        raiseError(ErrorNumber::InvalidPropertyValue);
    return value;
}

void GenerationSettings::setNonPrintableChars(int value)
{
    if (checkBoxValue(value) == m_nonPrintableChars)
        return;
    m_nonPrintableChars = value;
    invalidatePool();
    Q_EMIT nonPrintableCharsChanged(value);
}

void GenerationSettings::setExtendedSymbolChars(int value)
{
    if (checkBoxValue(value) == m_extendedSymbolChars)
        return;
    m_extendedSymbolChars = value;
    invalidatePool();
    Q_EMIT extendedSymbolCharsChanged(value);
}

void GenerationSettings::setUseDefault(bool useDefault)
{
    if (useDefault == m_useDefault)
        return;
    m_useDefault = useDefault;
    Q_EMIT useDefaultChanged(useDefault);
}

void GenerationSettings::setUserSeed(const QString &text)
{
    if (text == m_userSeed)
        return;
    m_userSeed = text;
    Q_EMIT userSeedChanged(text);
}

void GenerationSettings::setLeaveOutLookAlikes(bool leaveOut)
{
    if (leaveOut == m_leaveOutLookAlikes)
        return;
    m_leaveOutLookAlikes = leaveOut;
    invalidatePool();
    Q_EMIT leaveOutLookAlikesChanged(leaveOut);
}

const QString &GenerationSettings::LookAlikeCharacters()
{
    static const QString characters = QStringLiteral(
        // Letters and digits that many fonts draw alike, and the bar beside l and I.
        "0Oo1lIi|5S2Z8B"
        // Quotes and backquote differ by a slant or a curl; word processors also swap them.
        "'`\""
        // Extended characters drawn like one of the above: curly quotes, acute accent, broken bar,
        // inverted exclamation mark, superscripts, degree and ordinal signs, S Z with caron,
        // sharp s, and I i O o with marks or a stroke.
        "\u201A\u201E\u2018\u2019\u201C\u201D\u00B4\u00A6\u00A1\u00B9\u00B2\u00B0\u00BA"
        "\u0160\u0161\u017D\u017E\u00DF"
        "\u00CC\u00CD\u00CE\u00CF\u00EC\u00ED\u00EE\u00EF"
        "\u00D2\u00D3\u00D4\u00D5\u00D6\u00D8\u00F2\u00F3\u00F4\u00F5\u00F6\u00F8");
    return characters;
}

void GenerationSettings::setClipboardClearSeconds(int seconds)
{
    if (!isClipboardClearSeconds(seconds))
        raiseError(ErrorNumber::InvalidPropertyValue);
    if (seconds == m_clipboardClearSeconds)
        return;
    m_clipboardClearSeconds = seconds;
    Q_EMIT clipboardClearSecondsChanged(seconds);
}

const QString &GenerationSettings::classPool(CharacterClass characterClass) const
{
    if (characterClass == CharacterClass::Symbol)
        return symbolPool();
    const LetterPools &pools = letterPools();
    return m_leaveOutLookAlikes ? pools.reduced[int(characterClass)] : pools.whole[int(characterClass)];
}

bool GenerationSettings::isSymbolLeftOut(int index) const
{
    return m_leaveOutLookAlikes &&
        LookAlikeCharacters().contains(SymbolTable()[std::size_t(index)].character);
}

int GenerationSettings::usableSymbolCount() const
{
    int usable = 0;
    for (int i = 0; i < SymbolCount; ++i) {
        if (m_symbolSelected[std::size_t(i)] && !isSymbolLeftOut(i))
            ++usable;
    }
    return usable;
}

const QString &GenerationSettings::symbolPool() const
{
    if (m_poolValid)
        return m_pool;
    QString pool;
    pool.reserve(SymbolCount + 32 + 128);
    const auto &table = SymbolTable();
    for (int i = 0; i < SymbolCount; ++i) {
        if (m_symbolSelected[std::size_t(i)])
            pool += table[std::size_t(i)].character;
    }
    if (m_nonPrintableChars != 0) {
        for (int code = 0; code <= 31; ++code)
            pool += characterOfAnsiCode(quint8(code));
    }
    if (m_extendedSymbolChars != 0) {
        for (int code = 128; code <= 255; ++code)
            pool += characterOfAnsiCode(quint8(code));
    }
    m_pool = m_leaveOutLookAlikes ? withoutLookAlikes(pool) : pool;
    m_poolValid = true;
    return m_pool;
}
