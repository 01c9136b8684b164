// The registry on Linux: one text file in the user's configuration directory,
// read afresh whenever a key is opened; the program only reads it (the user, or
// the tests, write it). The format is that of a .reg export:
//   [HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Screen Savers]
//   "Mouse Threshold"=dword:00000032
// A plain decimal number ("Mouse Threshold"=50) is read as a dword as well; text
// values are "quoted" and other data is hex:01,02,... or hex(type):01,02,...
#include "win32/platform.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <strings.h>
#include <sys/stat.h>
#include <vector>

namespace {

const size_t maxFileBytes = 1 << 20;
const size_t maxValueBytes = 1 << 16;

struct Value {
    std::string name;
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

struct Key {
    std::string path; // root name and sub-keys, separated by '\'
    std::vector<Value> values;
};

struct OpenKey {
    std::string path;
};

std::string registryOverride;
std::vector<Key> keys;
std::vector<std::unique_ptr<OpenKey>> openKeys;
bool fileUnreadable = false; // a file is there that Load would not read: never overwrite it

bool SamePath(const std::string& a, const std::string& b) {
    return strcasecmp(a.c_str(), b.c_str()) == 0;
}

std::string RegistryFile() {
    return registryOverride.empty() ? win32::DefaultRegistryFile() : registryOverride;
}

std::string Trim(const std::string& text) {
    size_t begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string::npos) {
        return std::string();
    }
    size_t end = text.find_last_not_of(" \t\r\n");
    return text.substr(begin, end - begin + 1);
}

std::string NormalisePath(std::string path) {
    while (!path.empty() && path.back() == '\\') {
        path.pop_back();
    }
    return path;
}

Key* FindKey(const std::string& path) {
    for (Key& key : keys) {
        if (SamePath(key.path, path)) {
            return &key;
        }
    }
    return nullptr;
}

// A key exists when it holds values or sub-keys; the root keys always exist.
bool KeyExists(const std::string& path) {
    if (path.find('\\') == std::string::npos) {
        return true;
    }
    for (const Key& key : keys) {
        if (SamePath(key.path, path) ||
            (key.path.size() > path.size() && key.path[path.size()] == '\\' &&
             strncasecmp(key.path.c_str(), path.c_str(), path.size()) == 0)) {
            return true;
        }
    }
    return false;
}

// Reads a "quoted" text with \\ and \" escapes from text[pos]; pos ends after it.
bool ReadQuoted(const std::string& text, size_t& pos, std::string& out) {
    if (pos >= text.size() || text[pos] != '"') {
        return false;
    }
    out.clear();
    for (++pos; pos < text.size(); ++pos) {
        char c = text[pos];
        if (c == '\\' && pos + 1 < text.size()) {
            out += text[++pos];
        } else if (c == '"') {
            ++pos;
            return true;
        } else {
            out += c;
        }
    }
    return false;
}

bool ParseHexBytes(const std::string& text, std::vector<BYTE>& out) {
    out.clear();
    std::string digits;
    for (char c : text + ",") {
        if (c == ',') {
            std::string byte = Trim(digits);
            digits.clear();
            if (byte.empty()) {
                continue;
            }
            char* end = nullptr;
            unsigned long number = std::strtoul(byte.c_str(), &end, 16);
            if (*end != 0 || number > 0xFF || out.size() >= maxValueBytes) {
                return false;
            }
            out.push_back(static_cast<BYTE>(number));
        } else if (c != '\\' && c != ' ' && c != '\t') {
            digits += c;
        }
    }
    return true;
}

bool ParseData(const std::string& text, Value& value) {
    if (!text.empty() && text[0] == '"') {
        size_t pos = 0;
        std::string content;
        if (!ReadQuoted(text, pos, content) || !Trim(text.substr(pos)).empty() ||
            content.size() >= maxValueBytes) {
            return false;
        }
        value.type = REG_SZ;
        value.data.assign(content.begin(), content.end());
        value.data.push_back(0);
        return true;
    }
    DWORD number = 0;
    if (strncasecmp(text.c_str(), "dword:", 6) == 0) {
        std::string digits = Trim(text.substr(6));
        char* end = nullptr;
        errno = 0;
        unsigned long long parsed = std::strtoull(digits.c_str(), &end, 16);
        if (digits.empty() || digits.size() > 8 || *end != 0 || errno != 0) {
            return false;
        }
        number = static_cast<DWORD>(parsed);
    } else if (strncasecmp(text.c_str(), "hex", 3) == 0) {
        size_t colon = text.find(':');
        if (colon == std::string::npos) {
            return false;
        }
        value.type = REG_BINARY;
        if (colon > 3) {
            std::string inner = text.substr(3, colon - 3); // "(n)"
            if (inner.size() < 3 || inner.front() != '(' || inner.back() != ')') {
                return false;
            }
            char* end = nullptr;
            value.type = static_cast<DWORD>(
                std::strtoul(inner.substr(1, inner.size() - 2).c_str(), &end, 16));
        }
        return ParseHexBytes(text.substr(colon + 1), value.data);
    } else {
        // Decimal shorthand; negative numbers are stored as their 32-bit pattern.
        char* end = nullptr;
        errno = 0;
        long long parsed = std::strtoll(text.c_str(), &end, 10);
        if (text.empty() || *end != 0 || errno != 0 || parsed < INT32_MIN || parsed > UINT32_MAX) {
            return false;
        }
        number = static_cast<DWORD>(parsed);
    }
    value.type = REG_DWORD;
    value.data.resize(4);
    std::memcpy(value.data.data(), &number, 4); // little-endian, as Windows stores it
    return true;
}

void Parse(const std::string& content);

// Reads the file into keys. A missing file is an empty registry; lines that do not
// parse are skipped, so a hand-edited mistake costs only that value.
void Load() {
    keys.clear();
    fileUnreadable = false;
    std::string path = RegistryFile();
    if (path.empty()) {
        return;
    }
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file) {
        return;
    }
    std::streamoff size = file.tellg();
    if (size < 0 || static_cast<size_t>(size) > maxFileBytes) {
        fileUnreadable = true; // not a file this layer wrote; ignore it rather than guess
        return;
    }
    std::string content(static_cast<size_t>(size), '\0');
    file.seekg(0);
    file.read(&content[0], size);
    content.resize(static_cast<size_t>(file.gcount()));
    Parse(content);
}

// Reads the text of a registry file into keys (which start empty).
void Parse(const std::string& content) {
    std::istringstream lines(content);
    std::string line;
    Key* current = nullptr;
    while (std::getline(lines, line)) {
        line = Trim(line);
        if (line.empty() || line[0] == ';' || line[0] == '#') {
            continue;
        }
        if (line[0] == '[') {
            current = nullptr;
            if (line.back() == ']' && line.size() > 2) {
                std::string keyPath = NormalisePath(Trim(line.substr(1, line.size() - 2)));
                current = FindKey(keyPath);
                if (current == nullptr) {
                    keys.push_back(Key{keyPath, {}});
                    current = &keys.back();
                }
            }
            continue;
        }
        if (current == nullptr) {
            continue;
        }
        Value value;
        size_t pos = 0;
        if (line[0] == '"') {
            if (!ReadQuoted(line, pos, value.name)) {
                continue;
            }
        } else if (line[0] == '@') {
            pos = 1; // the key's default value has an empty name
        } else {
            pos = line.find('=');
            if (pos == std::string::npos) {
                continue;
            }
            value.name = Trim(line.substr(0, pos));
        }
        while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) {
            ++pos;
        }
        if (pos >= line.size() || line[pos] != '=' ||
            !ParseData(Trim(line.substr(pos + 1)), value)) {
            continue;
        }
        bool replaced = false;
        for (Value& existing : current->values) {
            if (strcasecmp(existing.name.c_str(), value.name.c_str()) == 0) {
                existing = value;
                replaced = true;
            }
        }
        if (!replaced) {
            current->values.push_back(value);
        }
    }
}

const char* RootName(HKEY key) {
    if (key == HKEY_CURRENT_USER) {
        return "HKEY_CURRENT_USER";
    }
    if (key == HKEY_LOCAL_MACHINE) {
        return "HKEY_LOCAL_MACHINE";
    }
    if (key == HKEY_CLASSES_ROOT) {
        return "HKEY_CLASSES_ROOT";
    }
    if (key == HKEY_USERS) {
        return "HKEY_USERS";
    }
    return nullptr;
}

// The path a handle stands for; false for a handle that is neither a root key nor
// open.
bool PathOf(HKEY key, std::string& path) {
    if (const char* root = RootName(key)) {
        path = root;
        return true;
    }
    for (const auto& open : openKeys) {
        if (reinterpret_cast<HKEY>(open.get()) == key) {
            path = open->path;
            return true;
        }
    }
    return false;
}

bool SubKeyPath(HKEY key, LPCSTR subKey, std::string& path) {
    if (!PathOf(key, path)) {
        return false;
    }
    if (subKey != nullptr && *subKey != 0) {
        path += "\\";
        path += subKey;
    }
    path = NormalisePath(path);
    return true;
}

HKEY OpenHandle(const std::string& path) {
    openKeys.push_back(std::make_unique<OpenKey>(OpenKey{path}));
    return reinterpret_cast<HKEY>(openKeys.back().get());
}

Value* FindValue(const std::string& path, LPCSTR name) {
    Key* key = FindKey(path);
    if (key == nullptr) {
        return nullptr;
    }
    const char* wanted = name != nullptr ? name : "";
    for (Value& value : key->values) {
        if (strcasecmp(value.name.c_str(), wanted) == 0) {
            return &value;
        }
    }
    return nullptr;
}

} // namespace

namespace win32 {

std::string DefaultRegistryFile() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/') {
        return std::string(config) + "/solvane/registry.ini";
    }
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != 0) {
        return std::string(home) + "/.config/solvane/registry.ini";
    }
    return std::string();
}

void SetRegistryFile(const std::string& path) {
    registryOverride = path;
    keys.clear();
}

void ReadRegistryText(const std::string& text) {
    keys.clear();
    Parse(text);
}

} // namespace win32

LSTATUS WINAPI RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD, REGSAM, PHKEY result) {
    if (result == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    *result = nullptr;
    std::string path;
    if (!SubKeyPath(key, subKey, path)) {
        return ERROR_INVALID_HANDLE;
    }
    Load();
    if (!KeyExists(path)) {
        return ERROR_FILE_NOT_FOUND;
    }
    *result = OpenHandle(path);
    return ERROR_SUCCESS;
}

LSTATUS WINAPI RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD reserved, LPDWORD type,
                                LPBYTE data, LPDWORD dataSize) {
    if (reserved != nullptr || (data != nullptr && dataSize == nullptr)) {
        return ERROR_INVALID_PARAMETER;
    }
    std::string path;
    if (!PathOf(key, path)) {
        return ERROR_INVALID_HANDLE;
    }
    const Value* value = FindValue(path, valueName);
    if (value == nullptr) {
        return ERROR_FILE_NOT_FOUND;
    }
    if (type != nullptr) {
        *type = value->type;
    }
    DWORD needed = static_cast<DWORD>(value->data.size());
    if (data == nullptr) {
        if (dataSize != nullptr) {
            *dataSize = needed;
        }
        return ERROR_SUCCESS;
    }
    if (*dataSize < needed) {
        *dataSize = needed;
        return ERROR_MORE_DATA;
    }
    if (needed > 0) {
        std::memcpy(data, value->data.data(), needed);
    }
    *dataSize = needed;
    return ERROR_SUCCESS;
}

LSTATUS WINAPI RegCloseKey(HKEY key) {
    if (RootName(key) != nullptr) {
        return ERROR_SUCCESS;
    }
    for (size_t i = 0; i < openKeys.size(); ++i) {
        if (reinterpret_cast<HKEY>(openKeys[i].get()) == key) {
            openKeys.erase(openKeys.begin() + static_cast<long>(i));
            return ERROR_SUCCESS;
        }
    }
    return ERROR_INVALID_HANDLE;
}
