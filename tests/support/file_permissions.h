// Lets a test run as root meet file permissions the way any other user does.
#pragma once

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace kavrin::test {

// While it lives, this thread has no power to override read, write and search permissions, so a
// read-only folder or an unreadable file is what it is for root too. Root keeps the power in its
// permitted set and gets it back at the end.
class PermissionsApply {
public:
    PermissionsApply()
    {
        if (geteuid() != 0 || syscall(SYS_capget, &header_, saved_) != 0)
            return;
        __user_cap_data_struct lowered[2] = {saved_[0], saved_[1]};
        lowered[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        lowered_ = syscall(SYS_capset, &header_, lowered) == 0;
    }
    ~PermissionsApply()
    {
        if (lowered_)
            syscall(SYS_capset, &header_, saved_);
    }
    PermissionsApply(const PermissionsApply&) = delete;
    PermissionsApply& operator=(const PermissionsApply&) = delete;

    // False only for root on a system that refused to lower the power.
    bool applied() const { return geteuid() != 0 || lowered_; }

private:
    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved_[2]{};
    bool lowered_ = false;
};

} // namespace kavrin::test
