#include "bench/io_floor.h"

#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <string>
#include <unistd.h>

namespace bench {

namespace {
double number(const char* p, size_t n) { return std::atof(std::string(p, n).c_str()); }
std::string text(const char* p, size_t n) {
    std::string s(p, n);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\0')) s.pop_back();
    return s;
}
} // namespace

int ioFloor(const std::string& datebox, double rate, bool firstmon) {
    const std::string monthFile = datebox.substr(0, 2) + datebox.substr(datebox.size() - 2) + ".dat";
    const std::string pointerFile = monthFile.substr(0, 5) + "ptn";
    char buf[64] = {};
    const int ptn = ::open("Cust.ptn", O_RDONLY);
    if (ptn < 0 || ::read(ptn, buf, sizeof buf - 1) < 0) return 1;
    ::close(ptn);
    const int count = std::atoi(buf);
    const int cust = ::open("cust.dat", O_RDWR);
    const int month = ::open(monthFile.c_str(), O_RDWR | O_CREAT, 0666);
    const int pointer = ::open(pointerFile.c_str(), O_RDWR | O_CREAT, 0666);
    if (cust < 0 || month < 0 || pointer < 0) return 1;
    std::map<std::string, int> files;
    auto fileOf = [&](const std::string& name) {
        auto it = files.find(name);
        if (it == files.end()) it = files.emplace(name, ::open(name.c_str(), O_RDONLY)).first;
        return it->second;
    };
    int last = 0;
    char c[222], t[94];
    for (int i = 1; i <= count; ++i) {
        if (::pread(cust, c, 222, (i - 1) * 222L) != 222) return 1;
        const double balance = number(c + 114, 8);
        if (balance > 1) {
            std::string file = text(c + 102, 4) + ".dat";
            long rec = std::atol(std::string(c + 106, 8).c_str());
            while (rec > 0) {
                const int fd = fileOf(file);
                if (fd < 0 || ::pread(fd, t, 94, (rec - 1) * 94) != 94) break;
                if ((t[68] == 'A' && std::memcmp(t + 25, "Interest", 8) != 0) || t[68] == '~') break;
                file = text(t + 5, 4) + ".dat";
                rec = std::atol(std::string(t + 9, 8).c_str());
            }
        }
        if (number(c + 185, 2) > 0) {
            if (::pwrite(cust, c, 222, (i - 1) * 222L) != 222) return 1;
            continue;
        }
        if (!(balance > 0)) continue;
        if (firstmon) {
            std::string file = text(c + 102, 4) + ".dat";
            long rec = std::atol(std::string(c + 106, 8).c_str());
            for (int steps = 0; rec > 0 && steps < 64; ++steps) {
                const int fd = fileOf(file);
                if (fd < 0 || ::pread(fd, t, 94, (rec - 1) * 94) != 94) break;
                file = text(t + 5, 4) + ".dat";
                rec = std::atol(std::string(t + 9, 8).c_str());
            }
        }
        if (balance * rate < 0) continue;
        ++last;
        std::memset(t, ' ', 94);
        if (::pwrite(month, t, 94, (last - 1) * 94L) != 94) return 1;
        const std::string p = " " + std::to_string(last) + "\r\n";
        if (::pwrite(pointer, p.data(), p.size(), 0) != static_cast<ssize_t>(p.size())) return 1;
        if (::pwrite(cust, c, 222, (i - 1) * 222L) != 222) return 1;
    }
    for (auto& [name, fd] : files)
        if (fd >= 0) ::close(fd);
    ::close(cust);
    ::close(month);
    ::close(pointer);
    return 0;
}

} // namespace bench
