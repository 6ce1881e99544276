#include "platform/hid/HidrawNode.h"

#include <cerrno>
#include <fcntl.h>
#include <linux/hidraw.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace k4812 {

// The ioctl number encodes the length in _IOC_SIZEBITS bits; a longer length
// would spill into the direction bits.
static_assert(HidrawNode::kMaxFeatureLength == _IOC_SIZEMASK);

std::unique_ptr<HidrawNode> HidrawNode::open(const std::string& path, int& error)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        error = errno;
        return nullptr;
    }
    return std::unique_ptr<HidrawNode>(new HidrawNode(fd));
}

HidrawNode::~HidrawNode()
{
    ::close(m_fd);
}

int HidrawNode::setFeature(const std::uint8_t* report, std::size_t length)
{
    if (length == 0 || length > kMaxFeatureLength)
        return EINVAL;
    // The ioctl is declared read-write; hand it a copy so that the caller's
    // const buffer is never written.
    std::vector<std::uint8_t> buffer(report, report + length);
    const int sent = ::ioctl(m_fd, HIDIOCSFEATURE(length), buffer.data());
    if (sent < 0)
        return errno;
    return std::size_t(sent) == length ? 0 : EIO;
}

int HidrawNode::getFeature(std::uint8_t* report, std::size_t length)
{
    if (length == 0 || length > kMaxFeatureLength)
        return EINVAL;
    const int received = ::ioctl(m_fd, HIDIOCGFEATURE(length), report);
    if (received < 0)
        return errno;
    return std::size_t(received) == length ? 0 : EIO;
}

std::optional<std::vector<std::uint8_t>> HidrawNode::reportDescriptor(int& error) const
{
    int size = 0;
    if (::ioctl(m_fd, HIDIOCGRDESCSIZE, &size) < 0) {
        error = errno;
        return std::nullopt;
    }
    if (size < 0 || size > HID_MAX_DESCRIPTOR_SIZE) {
        error = EIO;
        return std::nullopt;
    }
    hidraw_report_descriptor descriptor{};
    descriptor.size = std::uint32_t(size);
    if (::ioctl(m_fd, HIDIOCGRDESC, &descriptor) < 0) {
        error = errno;
        return std::nullopt;
    }
    return std::vector<std::uint8_t>(descriptor.value, descriptor.value + descriptor.size);
}

} // namespace k4812
