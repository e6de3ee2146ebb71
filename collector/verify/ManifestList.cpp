#include "verify/ManifestList.h"

#include <cctype>

#include "manifest/JsonReader.h"

namespace {

bool IsSha256(const std::string& text) {
    return text.size() == 64 && text.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos;
}

// One entry of "files"; "" when it is well formed, else what is wrong with it.
std::string ReadEntry(const JsonValue& value, std::string& path, ManifestEntry& entry) {
    const JsonValue* pathValue = value.Find("path");
    if (pathValue == nullptr || pathValue->AsString() == nullptr || pathValue->AsString()->empty())
        return "no \"path\"";
    path = *pathValue->AsString();
    const JsonValue* size = value.Find("size");
    if (size == nullptr || !size->AsUnsigned()) return "no \"size\"";
    entry.size = *size->AsUnsigned();
    const JsonValue* sha256 = value.Find("sha256");
    const JsonValue* error = value.Find("error");
    if (sha256 != nullptr) {
        if (sha256->AsString() == nullptr || !IsSha256(*sha256->AsString())) return "\"sha256\" is not 64 hex digits";
        entry.sha256 = *sha256->AsString();
        for (char& c : entry.sha256) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    } else if (error == nullptr || !error->AsUnsigned()) {
        return "neither \"sha256\" nor \"error\"";
    }
    if (const JsonValue* cut = value.Find("cut"); cut != nullptr) {
        if (!cut->AsBool()) return "\"cut\" is not true or false";
        entry.cut = *cut->AsBool();
    }
    return {};
}

}  // namespace

ManifestList ReadManifestList(std::string_view text) {
    ManifestList list;
    const JsonParse parse = ParseJson(text);
    if (!parse.value) {
        list.error = parse.error;
        return list;
    }
    const JsonValue* files = parse.value->Find("files");
    if (files == nullptr || !files->IsArray()) {
        list.error = "no \"files\" list";
        return list;
    }
    size_t index = 0;
    for (const JsonValue& value : files->Elements()) {
        const std::string where = "files[" + std::to_string(index++) + "]";
        std::string path;
        ManifestEntry entry;
        if (std::string wrong = ReadEntry(value, path, entry); !wrong.empty()) {
            list.error = where + ": " + wrong;
        } else if (!list.files.emplace(path, entry).second) {
            list.error = where + " names " + path + " a second time";
        }
        if (!list.error.empty()) {
            list.files.clear();
            break;
        }
    }
    return list;
}
