#pragma once
// One open hidraw device node: feature reports through the kernel's hidraw
// ioctls. The node is closed when the object is destroyed.

#include "platform/hid/HidBackend.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace k4812 {

class HidrawNode final : public HidDeviceHandle {
public:
    // Opens `path` for reading and writing; nullptr with an errno value in
    // `error` when it cannot be opened.
    static std::unique_ptr<HidrawNode> open(const std::string& path, int& error);
    ~HidrawNode() override;
    HidrawNode(const HidrawNode&) = delete;
    HidrawNode& operator=(const HidrawNode&) = delete;

    // A transfer shorter than `length` is EIO; a length the ioctl cannot
    // carry is EINVAL.
    int setFeature(const std::uint8_t* report, std::size_t length) override;
    int getFeature(std::uint8_t* report, std::size_t length) override;

    // The report descriptor as the kernel holds it; nothing (with an errno
    // value in `error`) when the node does not answer.
    std::optional<std::vector<std::uint8_t>> reportDescriptor(int& error) const;

    // The longest feature report one ioctl can carry.
    static constexpr std::size_t kMaxFeatureLength = 16383;

private:
    explicit HidrawNode(int fd) : m_fd(fd) {}
    int m_fd;
};

} // namespace k4812
