#pragma once
// Why a port did not open: the system's error, taken where the call failed, sorted into
// the few reasons the operator is told in words of the program's language.

#include <initializer_list>
#include <string>
#include <utility>

namespace zav {

enum class EPortError {
    None,
    NoSuchDevice,
    Busy,               // another program (or port object) holds the device
    NoPermission,       // the user may not use the device
    UnsupportedSetting, // the device takes no serial line settings
    Other,              // see SystemText
};

struct TPortError {
    EPortError Kind = EPortError::None;
    std::string SystemText; // the system's own words for the error, for Other

    explicit operator bool() const { return Kind != EPortError::None; }
};

// The errors that mean each reason; an error in none of them is Other.
struct TPortErrorCodes {
    EPortError Kind;
    std::initializer_list<long> Codes;
};

inline TPortError SortPortError(long error, std::string systemText,
                                std::initializer_list<TPortErrorCodes> reasons) {
    for (const TPortErrorCodes& reason : reasons)
        for (long code : reason.Codes)
            if (code == error)
                return {reason.Kind, std::move(systemText)};
    return {EPortError::Other, std::move(systemText)};
}

// The platform's mapping of an error number (errno on POSIX, GetLastError on Windows).
// Each is defined by its platform's backend.
#ifdef _WIN32
TPortError PortErrorFromSystem(unsigned long error);
#else
TPortError PortErrorFromSystem(int error);
#endif

} // namespace zav
