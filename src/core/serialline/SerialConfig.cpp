#include "serialline/SerialConfig.h"

#include <array>
#include <charconv>
#include <type_traits>

namespace vem {

namespace {

constexpr std::size_t CheckPos = 88;
constexpr std::size_t CheckWidth = 3;

enum class FieldKind {
    Number,     // any decimal integer
    Ordinal,    // an index below the field's limit
    Flag,       // 0 or 1 written; above 0 reads as true
    Character,  // the character code; a field that is no number keeps the old character
};

// One field of the text and the record member it stands for, as a number: ordinals, flags as
// 0 or 1, characters as their code 0..255.
struct ConfigField {
    std::size_t position;
    std::size_t width;
    FieldKind kind;
    std::int32_t limit;  // of an ordinal: the first value out of range
    std::int32_t (*get)(const TSerialConfig&);
    void (*set)(TSerialConfig&, std::int32_t);
};

template <class T>
constexpr std::int32_t numberOf(T value) {
    if constexpr (std::is_same_v<T, char>)
        return static_cast<unsigned char>(value);
    else
        return static_cast<std::int32_t>(value);
}

template <class T>
constexpr T valueOf(std::int32_t number) {
    if constexpr (std::is_same_v<T, bool>)
        return number > 0;
    else if constexpr (std::is_same_v<T, char>)
        return static_cast<char>(number & 0xFF);
    else
        return static_cast<T>(number);
}

template <auto Member>
constexpr ConfigField field(std::size_t position, std::size_t width, FieldKind kind, int limit = 0) {
    using T = std::remove_cvref_t<decltype(std::declval<TSerialConfig&>().*Member)>;
    return {position, width, kind, limit, [](const TSerialConfig& c) { return numberOf(c.*Member); },
            [](TSerialConfig& c, std::int32_t number) { c.*Member = valueOf<T>(number); }};
}

using C = TSerialConfig;
using enum FieldKind;
// The 91-character text: the signature, these fields, the check value.
constexpr std::array ConfigFields{
    field<&C::COMPort>(4, 3, Number),
    field<&C::Baudrate>(7, 2, Ordinal, BaudrateCount),
    field<&C::DataBits>(9, 1, Ordinal, DataBitsCount),
    field<&C::ParityBit>(10, 1, Ordinal, ParityCount),
    field<&C::StopBits>(11, 1, Ordinal, StopBitsCount),
    field<&C::BufSizeTrm>(12, 8, Number),
    field<&C::BufSizeRec>(20, 8, Number),
    field<&C::HandshakeRtsCts>(28, 1, Flag),
    field<&C::HandshakeDtrDsr>(29, 1, Flag),
    field<&C::HandshakeXOnXOff>(30, 1, Flag),
    field<&C::RTSActive>(31, 1, Flag),
    field<&C::DTRActive>(32, 1, Flag),
    field<&C::XOnChar>(33, 3, Character),
    field<&C::XOffChar>(36, 3, Character),
    field<&C::XOffLimit>(39, 8, Number),
    field<&C::XOnLimit>(47, 8, Number),
    field<&C::ErrorChar>(55, 3, Character),
    field<&C::EofChar>(58, 3, Character),
    field<&C::EventChar>(61, 3, Character),
    field<&C::ContinueOnXOff>(64, 1, Flag),
    field<&C::UseErrorChar>(65, 1, Flag),
    field<&C::EliminateNullChar>(66, 1, Flag),
    field<&C::AbortOnError>(67, 1, Flag),
    field<&C::RecTimeOut>(68, 10, Number),
    field<&C::TrmTimeOut>(78, 10, Number),
};

// The fields follow each other without a gap from the signature to the check value.
constexpr bool fieldsFillTheText() {
    std::size_t next = ConfigSignature.size();
    for (const ConfigField& f : ConfigFields) {
        if (f.position != next) return false;
        next += f.width;
    }
    return next == CheckPos && CheckPos + CheckWidth == ConfigTextLength;
}
static_assert(fieldsFillTheText());

// Sign first, then zeros: a negative number reads back.
void put(std::string& out, std::int64_t v, std::size_t width) {
    std::string digits = std::to_string(v < 0 ? -v : v);
    const std::size_t room = v < 0 ? width - 1 : width;
    if (digits.size() < room) digits.insert(0, room - digits.size(), '0');
    if (v < 0) digits.insert(0, 1, '-');
    out += digits.substr(0, width);  // a longer number loses its last digits
}

unsigned checkValue(std::string_view text) {
    unsigned x = 0;
    for (std::size_t i = 0; i < CheckPos; ++i) x ^= static_cast<unsigned char>(text[i]);
    return x;
}

// A decimal integer filling the whole field, with an optional sign.
bool parseInt(std::string_view s, std::int32_t& out) {
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    if (s.empty() || s.front() == '+') return false;
    std::int32_t v = 0;  // from_chars writes a partly read number too
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc{} || end != s.data() + s.size()) return false;
    out = v;
    return true;
}

// Reads one field of a whole text into the record; false stops the reading.
bool readField(const ConfigField& f, std::string_view text, TSerialConfig& c) {
    std::int32_t v = 0;
    const bool isNumber = parseInt(text.substr(f.position, f.width), v);
    if (f.kind == Character) {
        if (isNumber) f.set(c, v);
        return true;
    }
    if (!isNumber || (f.kind == Ordinal && (v < 0 || v >= f.limit))) return false;
    f.set(c, v);
    return true;
}

// A record made in code may hold an ordinal outside its table: there `current` stays.
TSerialConfig ordinalsInRange(TSerialConfig c, const TSerialConfig& current) {
    for (const ConfigField& f : ConfigFields)
        if (f.kind == Ordinal && f.get(c) >= f.limit) f.set(c, f.get(current));
    return c;
}

}  // namespace

TSerialConfig GetConfig(const SerialLine& line, int comPort) {
    TSerialConfig c;
    static_cast<SerialOptions&>(c) = line;
    static_cast<SerialLimits&>(c) = line.Limits();
    c.Valid = true;
    c.COMPort = comPort;
    return c;
}

bool SetConfig(SerialLine& line, const TSerialConfig& config, const std::function<void(int)>& setPort) {
    if (!config.Valid) return false;
    if (setPort) setPort(config.COMPort);
    const TSerialConfig taken = ordinalsInRange(config, GetConfig(line, config.COMPort));
    static_cast<SerialOptions&>(line) = taken;
    line.SetLimits(taken);
    return true;
}

std::string ConfigToStr(const TSerialConfig& c) {
    if (!c.Valid) return {};
    std::string s(ConfigSignature);
    for (const ConfigField& f : ConfigFields) put(s, f.get(c), f.width);
    put(s, checkValue(s), CheckWidth);
    return s;
}

TSerialConfig StrToConfig(std::string_view text, TSerialConfig c) {
    c.Valid = false;
    if (text.size() <= ConfigSignature.size()) return c;
    text = text.substr(0, ConfigTextLength);
    if (text.substr(0, ConfigSignature.size()) != ConfigSignature) return c;
    std::int32_t check = 0;
    if (text.size() < ConfigTextLength || !parseInt(text.substr(CheckPos, CheckWidth), check) ||
        check != static_cast<std::int32_t>(checkValue(text)))
        return c;
    for (const ConfigField& f : ConfigFields)
        if (!readField(f, text, c)) return c;
    c.Valid = true;
    return c;
}

}  // namespace vem
