#include "StandardDescriptors.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace quarvessin {
namespace process {

bool guardStandardDescriptors() noexcept {
    for (int fd = 0; fd <= 2; ++fd) {
        if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        // open gives the lowest free number: fd itself, as 0 to fd - 1 are
        // open by now.
        int opened;
        do {
            opened = open("/dev/null", O_RDWR);
        } while (opened == -1 && errno == EINTR);
        if (opened != fd) return false;
    }
    return true;
}

}  // namespace process
}  // namespace quarvessin
