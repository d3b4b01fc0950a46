#pragma once
#include <QDir>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <string>

namespace testsupport {

// A fresh folder made the current one for the life of the object.
class TempFolder {
  public:
    TempFolder() : old_(std::filesystem::current_path()) { std::filesystem::current_path(dir_.path().toStdString()); }
    ~TempFolder() { std::filesystem::current_path(old_); }
    std::string path() const { return dir_.path().toStdString(); }

  private:
    QTemporaryDir dir_;
    std::filesystem::path old_;
};

inline void putFile(const std::string& name, const std::string& bytes) {
    std::ofstream(name, std::ios::binary) << bytes;
}

inline std::string getFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace testsupport
