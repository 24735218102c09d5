#pragma once
// A file stream that, with encoding on, stores every byte shifted by one key byte so
// that settings and command-list files are not plain text on disk. The shift does not
// depend on the position, so any seek or block size reads the same bytes.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <system_error>

namespace zav {

// Why a file could not be used, as far as the operator can act on it.
enum class TFileFailure { Other, Missing, NoPermission, ReadOnly, DiskFull };
TFileFailure FileFailureOf(const std::error_code& error);

// A file that cannot be opened, created, read or written.
class EFileStreamError : public std::runtime_error {
public:
    explicit EFileStreamError(const std::string& what, std::string reason = {})
        : std::runtime_error(what), reason_(reason.empty() ? what : std::move(reason)) {}
    // The file, the kind of failure and the system's own text for it, so that the
    // reason can be given in the operator's language.
    EFileStreamError(const std::string& what, std::string fileName, TFileFailure failure,
                     std::string systemText)
        : std::runtime_error(what), reason_(systemText.empty() ? what : systemText),
          fileName_(std::move(fileName)), failure_(failure), systemText_(std::move(systemText)) {}
    // The same failure, told of another file (the one the operator named).
    EFileStreamError(const std::string& what, std::string fileName, const EFileStreamError& cause)
        : EFileStreamError(what, std::move(fileName), cause.failure_, cause.systemText_) {}
    // Why, without the file's name: the system's text where it gave one.
    const std::string& Reason() const { return reason_; }
    const std::string& FileName() const { return fileName_; }
    TFileFailure Failure() const { return failure_; }
    const std::string& SystemText() const { return systemText_; }

private:
    std::string reason_;
    std::string fileName_;
    TFileFailure failure_ = TFileFailure::Other;
    std::string systemText_;
};

enum class TFileMode {
    OpenRead, // an existing file, for reading
    Create,   // a new or emptied file, for writing
};

class TEncodedStream {
public:
    static constexpr std::uint8_t Keys[5] = {0x17, 0x2B, 0x05, 0x3C, 0x11};
    static constexpr std::uint8_t Key() {
        unsigned k = 0;
        for (auto b : Keys)
            k += b;
        return static_cast<std::uint8_t>(k % 256);
    }

    // Throws EFileStreamError when the file cannot be opened or created.
    TEncodedStream(const std::string& fileName, bool encode, TFileMode mode);
    ~TEncodedStream();
    TEncodedStream(const TEncodedStream&) = delete;
    TEncodedStream& operator=(const TEncodedStream&) = delete;

    // Both return the number of bytes actually transferred.
    std::size_t Read(void* buffer, std::size_t count);
    std::size_t Write(const void* buffer, std::size_t count);
    // Flushes the written bytes to the disk itself. Throws EFileStreamError.
    void Commit();

    enum TSeekOrigin { soBeginning, soCurrent, soEnd };
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin);
    std::int64_t Position() const;
    std::int64_t Size() const;
    bool Encoded() const { return encode_; }
    const std::string& FileName() const { return fileName_; }

private:
    std::FILE* file_ = nullptr;
    const std::string fileName_;
    const bool encode_;
    std::uint8_t keys_[5];
};

} // namespace zav
