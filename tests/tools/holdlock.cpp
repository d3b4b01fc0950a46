// Holds a file the way another computer of the store would: an exclusive open-file-description
// lock on the whole file, until the process is stopped (or 120 seconds have passed).
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: holdlock FILE\n");
        return 2;
    }
    const int fd = ::open(argv[1], O_RDWR | O_CREAT, 0666);
    struct flock lk {};
    lk.l_type = F_WRLCK;
    lk.l_whence = SEEK_SET;
    if (fd < 0 || ::fcntl(fd, F_OFD_SETLK, &lk) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    std::printf("held\n");
    std::fflush(stdout);
    ::sleep(120);
    return 0;
}
