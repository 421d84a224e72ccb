#pragma once
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

// A folder of its own for one fuzz process (in memory where /dev/shm exists), removed at exit, and
// the file in it that each input is written to before a loader reads it.
class fuzzInputFile {
  public:
    explicit fuzzInputFile(const std::string& name) {
        const std::filesystem::path shm = "/dev/shm";
        const std::filesystem::path base =
            std::filesystem::is_directory(shm) ? shm : std::filesystem::temp_directory_path();
        m_folder = (base / "lvFuzz-XXXXXX").string();
        if (!mkdtemp(m_folder.data()))
            std::abort();
        m_path = m_folder + "/" + name;
    }
    ~fuzzInputFile() {
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }
    fuzzInputFile(const fuzzInputFile&) = delete;
    fuzzInputFile& operator=(const fuzzInputFile&) = delete;

    void Write(const std::uint8_t* data, std::size_t size) const {
        std::ofstream(m_path, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    const std::string& GetFolder() const { return m_folder; }
    const std::string& GetPath() const { return m_path; }

  private:
    std::string m_folder;
    std::string m_path;
};
