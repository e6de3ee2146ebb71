#include "regdump/DumpFormat.h"

#include <cstdio>

namespace regdump {

namespace {

constexpr int kNameColumn = 18;  // "name:" is padded to this width, never cut
constexpr int kTypeColumn = 30;  // the type name is padded to this width
constexpr int kHexField = 48;    // 16 bytes of "xx "
constexpr int kHexLead = 13;     // blanks before each hex dump line

std::string Padded(std::string_view text, size_t width) {
    std::string padded(text);
    if (padded.size() < width) padded.append(width - padded.size(), ' ');
    return padded;
}

std::string TypeColumn(const char* typeName) { return Padded(typeName, kTypeColumn) + " "; }

// The text up to the first terminator, or to the end of the data when it has none.
std::string_view FirstString(std::string_view data) { return data.substr(0, data.find('\0')); }

std::string HexByte(unsigned char byte) {
    char text[3] = {};
    std::snprintf(text, sizeof text, "%02x", byte);
    return text;
}

std::string InlineBinary(std::string_view data) {
    std::string text = "<";
    for (size_t i = 0; i < data.size(); ++i) {
        if (i > 0) text += ' ';
        text += HexByte(static_cast<unsigned char>(data[i]));
    }
    text += ">\n";
    return text;
}

// A value shorter than four bytes reads as if zero-filled, never past its end.
DWORD NumberOf(std::string_view data) {
    DWORD number = 0;
    for (size_t i = 0; i < data.size() && i < sizeof number; ++i)
        number |= static_cast<DWORD>(static_cast<unsigned char>(data[i])) << (8 * i);
    return number;
}

std::string MultiStrings(std::string_view data, size_t prefixWidth) {
    std::string_view first = FirstString(data);
    std::string text(first);
    text += '\n';
    size_t next = first.size() + 1;
    while (next < data.size()) {
        std::string_view item = FirstString(data.substr(next));
        if (item.empty()) break;
        text.append(prefixWidth, ' ');
        text += item;
        text += '\n';
        next += item.size() + 1;
    }
    return text;
}

}  // namespace

std::string FormatHeaderLine(std::string_view hive, std::string_view subKey) {
    std::string line = "~~~[Hive:";
    line += hive;
    line += " Subkey:";
    line += subKey;
    line += "]~~~\n";
    return line;
}

std::string FormatKeyLine(std::string_view name, int depth) {
    std::string line(static_cast<size_t>(depth * kIndentStep), ' ');
    line += '[';
    line += name;
    line += "]\n";
    return line;
}

std::string FormatValuePrefix(std::string_view name, int width) {
    // "%*c" with a blank: the width counts the blank itself, and a width below 1 still prints it.
    std::string prefix(static_cast<size_t>(width > 1 ? width : 1), ' ');
    std::string label(name);
    label += ':';
    prefix += Padded(label, kNameColumn);
    prefix += ' ';
    return prefix;
}

std::string FormatValueLine(std::string_view name, DWORD type, std::string_view data, int width) {
    std::string line = FormatValuePrefix(name, width);
    const size_t prefixWidth = line.size();
    switch (type) {
    case REG_SZ:
        line += TypeColumn("REG_SZ");
        line += FirstString(data);
        line += '\n';
        break;
    case REG_EXPAND_SZ:
        line += TypeColumn("REG_EXPAND_SZ");
        line += FirstString(data);
        line += '\n';
        break;
    case REG_BINARY:
        line += TypeColumn("REG_BINARY");
        if (data.size() <= kMaxInlineBinary) {
            line += InlineBinary(data);
        } else {
            line += '<';
            line += std::to_string(data.size());
            line += " bytes of binary data follow>\n";
        }
        break;
    case REG_DWORD: {
        char number[16] = {};
        std::snprintf(number, sizeof number, "0x%lx", static_cast<unsigned long>(NumberOf(data)));
        line += TypeColumn("REG_DWORD");
        line += number;
        line += '\n';
        break;
    }
    case REG_MULTI_SZ:
        line += TypeColumn("REG_MULTI_SZ");
        line += MultiStrings(data, prefixWidth);
        break;
    default: {
        char text[48] = {};
        std::snprintf(text, sizeof text, "<value type 0x%lx not supported.>\n", static_cast<unsigned long>(type));
        line += text;
        break;
    }
    }
    return line;
}

std::string FormatHexDump(std::string_view data) {
    std::string dump;
    for (size_t row = 0; row < data.size(); row += kHexDumpRow) {
        std::string_view bytes = data.substr(row, kHexDumpRow);
        std::string hex;
        std::string chars;
        for (char c : bytes) {
            unsigned char byte = static_cast<unsigned char>(c);
            hex += HexByte(byte);
            hex += ' ';
            chars += (byte >= 32 && byte <= 126) ? c : '.';
        }
        dump.append(kHexLead, ' ');
        dump += Padded(hex, kHexField);
        dump += "  ";
        dump += Padded(chars, kHexDumpRow);
        dump += '\n';
    }
    return dump;
}

}  // namespace regdump
