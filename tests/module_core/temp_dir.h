// temp_dir.h - a temporary folder for the module tests' files, removed afterwards.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

class ModuleTempDir {
public:
    ModuleTempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "modcore-XXXXXX").string();
        if (char* made = mkdtemp(pattern.data()))
            m_path = made;
    }
    ~ModuleTempDir()
    {
        std::error_code ec;
        if (!m_path.empty())
            std::filesystem::remove_all(m_path, ec);
    }
    ModuleTempDir(const ModuleTempDir&) = delete;
    ModuleTempDir& operator=(const ModuleTempDir&) = delete;

    const std::string& path() const { return m_path; }
    std::string file(const std::string& name) const { return m_path + "/" + name; }

    void write(const std::string& name, const std::string& bytes) const
    {
        std::ofstream out(file(name), std::ios::binary | std::ios::trunc);
        out << bytes;
    }

private:
    std::string m_path;
};
