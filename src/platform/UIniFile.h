// An INI file with the behaviour the settings file relies on: sections and
// keys matched without regard to case, ";" comments and blank lines kept,
// values trimmed, a missing file reading as empty, and every write going to
// the file at once through a temporary file renamed over it.
#pragma once

#include <string>

namespace velmora {

class TIniFile {
public:
    explicit TIniFile(std::string fileName);

    const std::string& FileName() const { return FFileName; }

    // One pair of surrounding single or double quotes is removed from a value read.
    std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
    // Decimal, or hexadecimal with "$" or "0x"; anything else gives def.
    int ReadInteger(const std::string& section, const std::string& key, int def) const;
    bool SectionExists(const std::string& section) const;

    // False for a value that would not read back as written (one holding a
    // line break): WriteString refuses it.
    static bool CanStore(const std::string& value);
    // Writes raise EGenException("Unable to write to <path>") when the file cannot be written.
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, int value);
    void EraseSection(const std::string& section);

private:
    std::string FFileName;
};

} // namespace velmora
