// The system's error of a port that did not open, sorted into the operator's reasons.

#include <gtest/gtest.h>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include <cerrno>
#include <cstring>
#endif

#include "serial/port_error.h"

namespace zav {
namespace {

struct TMappingRow {
    unsigned long error;
    EPortError kind;
};

void ExpectMapping(const TMappingRow& row) {
#ifdef _WIN32
    const TPortError mapped = PortErrorFromSystem(row.error);
#else
    const TPortError mapped = PortErrorFromSystem(static_cast<int>(row.error));
#endif
    EXPECT_EQ(mapped.Kind, row.kind) << "error " << row.error;
    EXPECT_TRUE(mapped);
    EXPECT_FALSE(mapped.SystemText.empty()) << "error " << row.error;
}

#ifdef _WIN32
TEST(PortErrorMapping, WindowsErrorsGiveTheirReason) {
    const TMappingRow rows[] = {
        {ERROR_FILE_NOT_FOUND, EPortError::NoSuchDevice},
        {ERROR_PATH_NOT_FOUND, EPortError::NoSuchDevice},
        {ERROR_INVALID_NAME, EPortError::NoSuchDevice},
        {ERROR_DEV_NOT_EXIST, EPortError::NoSuchDevice},
        // An unshared COM port held elsewhere answers "access denied".
        {ERROR_ACCESS_DENIED, EPortError::Busy},
        {ERROR_SHARING_VIOLATION, EPortError::Busy},
        {ERROR_BUSY, EPortError::Busy},
        {ERROR_PRIVILEGE_NOT_HELD, EPortError::NoPermission},
        {ERROR_INVALID_PARAMETER, EPortError::UnsupportedSetting},
        {ERROR_NOT_SUPPORTED, EPortError::UnsupportedSetting},
        {ERROR_NOT_ENOUGH_MEMORY, EPortError::Other},
        {ERROR_GEN_FAILURE, EPortError::Other},
    };
    for (const TMappingRow& row : rows)
        ExpectMapping(row);
    // Other carries the system's own words, not a number.
    EXPECT_EQ(PortErrorFromSystem(ERROR_GEN_FAILURE).SystemText.find("error 31"),
              std::string::npos);
}
#else
TEST(PortErrorMapping, ErrnoGivesItsReason) {
    const TMappingRow rows[] = {
        {ENOENT, EPortError::NoSuchDevice},
        {ENODEV, EPortError::NoSuchDevice},
        {ENXIO, EPortError::NoSuchDevice},
        {EIO, EPortError::NoSuchDevice},
        {EBUSY, EPortError::Busy},
        {EWOULDBLOCK, EPortError::Busy},
        {EACCES, EPortError::NoPermission},
        {EPERM, EPortError::NoPermission},
        {ENOTTY, EPortError::UnsupportedSetting},
        {EINVAL, EPortError::UnsupportedSetting},
        {EISDIR, EPortError::Other},
        {EMFILE, EPortError::Other},
    };
    for (const TMappingRow& row : rows)
        ExpectMapping(row);
    EXPECT_EQ(PortErrorFromSystem(EMFILE).SystemText, std::strerror(EMFILE));
}
#endif

} // namespace
} // namespace zav
