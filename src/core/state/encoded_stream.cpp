#include "state/encoded_stream.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include "state/file_names.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace zav {

TFileFailure FileFailureOf(const std::error_code& error) {
    if (error == std::errc::no_such_file_or_directory || error == std::errc::not_a_directory)
        return TFileFailure::Missing;
    if (error == std::errc::permission_denied || error == std::errc::operation_not_permitted)
        return TFileFailure::NoPermission;
    if (error == std::errc::read_only_file_system)
        return TFileFailure::ReadOnly;
    if (error == std::errc::no_space_on_device || error == std::errc::file_too_large)
        return TFileFailure::DiskFull;
    return TFileFailure::Other;
}

namespace {
// The failure errno names, with the system's text for it.
EFileStreamError SystemError(const std::string& doing, const std::string& fileName) {
    const std::error_code error(errno, std::generic_category());
    const std::string reason = std::strerror(error.value());
    return EFileStreamError(doing + fileName + ": " + reason, fileName, FileFailureOf(error),
                            reason);
}

std::uint8_t KeyOf(const std::uint8_t (&keys)[5]) {
    unsigned k = 0;
    for (auto b : keys)
        k += b;
    return static_cast<std::uint8_t>(k % 256);
}
} // namespace

TEncodedStream::TEncodedStream(const std::string& fileName, bool encode, TFileMode mode)
    : fileName_(fileName), encode_(encode) {
    file_ = OpenFile(fileName, mode == TFileMode::OpenRead ? "rb" : "wb");
    if (!file_)
        throw SystemError(mode == TFileMode::OpenRead ? "Cannot open file " : "Cannot create file ",
                          fileName);
    std::copy(std::begin(Keys), std::end(Keys), keys_);
}

TEncodedStream::~TEncodedStream() {
    if (file_)
        std::fclose(file_);
}

std::size_t TEncodedStream::Read(void* buffer, std::size_t count) {
    if (count == 0)
        return 0;
    auto* out = static_cast<std::uint8_t*>(buffer);
    const std::size_t got = std::fread(out, 1, count, file_);
    if (got < count && std::ferror(file_))
        throw EFileStreamError("Cannot read file " + fileName_);
    if (encode_) {
        const std::uint8_t k = KeyOf(keys_);
        for (std::size_t i = 0; i < got; ++i)
            out[i] = static_cast<std::uint8_t>(out[i] - k);
    }
    return got;
}

std::size_t TEncodedStream::Write(const void* buffer, std::size_t count) {
    if (count == 0)
        return 0;
    const auto* in = static_cast<const std::uint8_t*>(buffer);
    std::size_t written;
    if (encode_) {
        const std::uint8_t k = KeyOf(keys_);
        std::vector<std::uint8_t> temp(in, in + count);
        for (auto& b : temp)
            b = static_cast<std::uint8_t>(b + k);
        written = std::fwrite(temp.data(), 1, count, file_);
    } else {
        written = std::fwrite(in, 1, count, file_);
    }
    if (written < count || std::fflush(file_) != 0)
        throw SystemError("Cannot write file ", fileName_);
    return written;
}

void TEncodedStream::Commit() {
    bool ok = std::fflush(file_) == 0;
#ifdef _WIN32
    ok = ok && _commit(_fileno(file_)) == 0;
#else
    ok = ok && fsync(fileno(file_)) == 0;
#endif
    if (!ok)
        throw SystemError("Cannot write file ", fileName_);
}

std::int64_t TEncodedStream::Seek(std::int64_t offset, TSeekOrigin origin) {
    const int whence = origin == soBeginning ? SEEK_SET : origin == soCurrent ? SEEK_CUR : SEEK_END;
#ifdef _WIN32
    _fseeki64(file_, offset, whence);
#else
    fseeko(file_, static_cast<off_t>(offset), whence);
#endif
    return Position();
}

std::int64_t TEncodedStream::Position() const {
#ifdef _WIN32
    return _ftelli64(file_);
#else
    return static_cast<std::int64_t>(ftello(file_));
#endif
}

std::int64_t TEncodedStream::Size() const {
    auto* self = const_cast<TEncodedStream*>(this);
    const std::int64_t here = Position();
    self->Seek(0, soEnd);
    const std::int64_t size = Position();
    self->Seek(here, soBeginning);
    return size;
}

} // namespace zav
