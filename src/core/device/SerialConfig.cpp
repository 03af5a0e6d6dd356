#include "device/SerialConfig.h"

#include <charconv>

namespace vem {

namespace {

constexpr std::size_t CheckPos = 88;

template <class E>
constexpr int ord(E e) { return static_cast<int>(e); }

// Sign first, then zeros: a negative number reads back.
void put(std::string& out, std::int64_t v, std::size_t width) {
    std::string digits = std::to_string(v < 0 ? -v : v);
    const std::size_t room = v < 0 ? width - 1 : width;
    if (digits.size() < room) digits.insert(0, room - digits.size(), '0');
    if (v < 0) digits.insert(0, 1, '-');
    out += digits.substr(0, width);  // a longer number loses its last digits
}

void putChar(std::string& out, char c) { put(out, static_cast<unsigned char>(c), 3); }

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

class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}
    bool number(std::size_t width, std::int32_t& v) { return parseInt(take(width), v); }
    template <class E>
    bool ordinal(std::size_t width, int count, E& e) {
        std::int32_t v = 0;
        if (!number(width, v) || v < 0 || v >= count) return false;
        e = static_cast<E>(v);
        return true;
    }
    bool flag(bool& b) {
        std::int32_t v = 0;
        if (!number(1, v)) return false;
        b = v > 0;
        return true;
    }
    // No check here: a field that is no number keeps the old character.
    void character(char& c) {
        std::int32_t v = 0;
        if (parseInt(take(3), v)) c = static_cast<char>(v & 0xFF);
    }

private:
    std::string_view take(std::size_t width) {
        const std::string_view s = text_.substr(pos_, width);
        pos_ += width;
        return s;
    }
    std::string_view text_;
    std::size_t pos_ = ConfigSignature.size();
};

bool readFields(Reader& r, TSerialConfig& c) {
    return r.number(3, c.COMPort) && r.ordinal(2, BaudrateCount, c.Baudrate) &&
           r.ordinal(1, 5, c.DataBits) && r.ordinal(1, 5, c.ParityBit) &&
           r.ordinal(1, 3, c.StopBits) && r.number(8, c.BufSizeTrm) &&
           r.number(8, c.BufSizeRec) && r.flag(c.HandshakeRtsCts) && r.flag(c.HandshakeDtrDsr) &&
           r.flag(c.HandshakeXOnXOff) && r.flag(c.RTSActive) && r.flag(c.DTRActive) &&
           (r.character(c.XOnChar), r.character(c.XOffChar), true) &&
           r.number(8, c.XOffLimit) && r.number(8, c.XOnLimit) &&
           (r.character(c.ErrorChar), r.character(c.EofChar), r.character(c.EventChar), true) &&
           r.flag(c.ContinueOnXOff) && r.flag(c.UseErrorChar) && r.flag(c.EliminateNullChar) &&
           r.flag(c.AbortOnError) && r.number(10, c.RecTimeOut) && r.number(10, c.TrmTimeOut);
}

}  // namespace

TSerialConfig GetConfig(const SerialLine& l, int comPort) {
    TSerialConfig c;
    c.Valid = true;
    c.COMPort = comPort;
    c.Baudrate = l.Baudrate;
    c.DataBits = l.DataBits;
    c.ParityBit = l.ParityBit;
    c.StopBits = l.StopBits;
    c.BufSizeTrm = l.BufSizeTrm;
    c.BufSizeRec = l.BufSizeRec;
    c.HandshakeRtsCts = l.HandshakeRtsCts;
    c.HandshakeDtrDsr = l.HandshakeDtrDsr;
    c.HandshakeXOnXOff = l.HandshakeXOnXOff;
    c.RTSActive = l.RTSActive;
    c.DTRActive = l.DTRActive;
    c.XOnChar = l.XOnChar;
    c.XOffChar = l.XOffChar;
    c.XOffLimit = l.XOffLimit;
    c.XOnLimit = l.XOnLimit;
    c.ErrorChar = l.ErrorChar;
    c.EofChar = l.EofChar;
    c.EventChar = l.EventChar;
    c.ContinueOnXOff = l.ContinueOnXOff;
    c.UseErrorChar = l.UseErrorChar;
    c.EliminateNullChar = l.EliminateNullChar;
    c.AbortOnError = l.AbortOnError;
    c.RecTimeOut = l.RecTimeOut;
    c.TrmTimeOut = l.TrmTimeOut;
    return c;
}

bool SetConfig(SerialLine& l, const TSerialConfig& c, const std::function<void(int)>& setPort) {
    if (!c.Valid) return false;
    if (setPort) setPort(c.COMPort);
    // An ordinal outside its table (a record made in code) leaves the setting alone.
    if (ord(c.Baudrate) < BaudrateCount) l.Baudrate = c.Baudrate;
    if (ord(c.DataBits) < 5) l.DataBits = c.DataBits;
    if (ord(c.ParityBit) < 5) l.SetParityBit(c.ParityBit);
    if (ord(c.StopBits) < 3) l.StopBits = c.StopBits;
    l.SetBufSizeTrm(c.BufSizeTrm);
    l.SetBufSizeRec(c.BufSizeRec);
    l.HandshakeRtsCts = c.HandshakeRtsCts;
    l.HandshakeDtrDsr = c.HandshakeDtrDsr;
    l.HandshakeXOnXOff = c.HandshakeXOnXOff;
    l.RTSActive = c.RTSActive;
    l.DTRActive = c.DTRActive;
    l.XOnChar = c.XOnChar;
    l.XOffChar = c.XOffChar;
    // XOn first out of the way, so that a consistent pair arrives whatever the old one was.
    l.SetXOnLimit(0);
    l.SetXOffLimit(c.XOffLimit);
    l.SetXOnLimit(c.XOnLimit);
    l.ErrorChar = c.ErrorChar;
    l.EofChar = c.EofChar;
    l.EventChar = c.EventChar;
    l.ContinueOnXOff = c.ContinueOnXOff;
    l.UseErrorChar = c.UseErrorChar;
    l.EliminateNullChar = c.EliminateNullChar;
    l.AbortOnError = c.AbortOnError;
    l.SetRecTimeOut(c.RecTimeOut);
    l.SetTrmTimeOut(c.TrmTimeOut);
    return true;
}

std::string ConfigToStr(const TSerialConfig& c) {
    if (!c.Valid) return {};
    std::string s(ConfigSignature);
    put(s, c.COMPort, 3);
    put(s, ord(c.Baudrate), 2);
    put(s, ord(c.DataBits), 1);
    put(s, ord(c.ParityBit), 1);
    put(s, ord(c.StopBits), 1);
    put(s, c.BufSizeTrm, 8);
    put(s, c.BufSizeRec, 8);
    for (bool b : {c.HandshakeRtsCts, c.HandshakeDtrDsr, c.HandshakeXOnXOff, c.RTSActive,
                   c.DTRActive})
        put(s, b, 1);
    putChar(s, c.XOnChar);
    putChar(s, c.XOffChar);
    put(s, c.XOffLimit, 8);
    put(s, c.XOnLimit, 8);
    putChar(s, c.ErrorChar);
    putChar(s, c.EofChar);
    putChar(s, c.EventChar);
    for (bool b : {c.ContinueOnXOff, c.UseErrorChar, c.EliminateNullChar, c.AbortOnError})
        put(s, b, 1);
    put(s, c.RecTimeOut, 10);
    put(s, c.TrmTimeOut, 10);
    put(s, checkValue(s), 3);
    return s;
}

TSerialConfig StrToConfig(std::string_view text, TSerialConfig c) {
    c.Valid = false;
    if (text.size() <= ConfigSignature.size()) return c;
    text = text.substr(0, ConfigTextLength);
    if (text.substr(0, ConfigSignature.size()) != ConfigSignature) return c;
    std::int32_t check = 0;
    if (text.size() < ConfigTextLength || !parseInt(text.substr(CheckPos, 3), check) ||
        check != static_cast<std::int32_t>(checkValue(text)))
        return c;
    Reader r(text);
    c.Valid = readFields(r, c);
    return c;
}

}  // namespace vem
