#include "journal/journal.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <system_error>

#include "localisation/lang.h"

namespace zav {

namespace {

constexpr std::string_view Magic = "ZAVJOURNAL ";

// Days since 1970-01-01 of a civil date and back (proleptic Gregorian).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, std::int64_t& y, unsigned& m, unsigned& d) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2);
}

template <class T> bool ParseNumber(std::string_view text, T& value) {
    if (text.empty())
        return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

std::vector<std::string_view> SplitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string_view::npos)
            return fields;
        start = tab + 1;
    }
}

bool KnownOutcome(std::string_view word) {
    return word == "accepted" || word == "command-error" || word == "data-error" ||
           word == "no-answer" || word == "stopped" || word == "echo-mismatch";
}

// The length of the valid UTF-8 sequence at text[i] (not overlong, no surrogates), or 0.
std::size_t Utf8Length(std::string_view text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char c = byte(i);
    std::size_t n = 0;
    unsigned char lo = 0x80, hi = 0xBF;
    if (c >= 0xC2 && c <= 0xDF)
        n = 2;
    else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        lo = c == 0xE0 ? 0xA0 : 0x80;
        hi = c == 0xED ? 0x9F : 0xBF;
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        lo = c == 0xF0 ? 0x90 : 0x80;
        hi = c == 0xF4 ? 0x8F : 0xBF;
    } else
        return 0;
    if (i + n > text.size() || byte(i + 1) < lo || byte(i + 1) > hi)
        return 0;
    for (std::size_t k = 2; k < n; ++k)
        if (byte(i + k) < 0x80 || byte(i + k) > 0xBF)
            return 0;
    return n;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

bool EndedNormally(const TJournal& journal) {
    return journal.End == TJournalEnd::Completed || journal.End == TJournalEnd::Stopped;
}

std::string EscapeJournalText(std::string_view text) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c >= 0x80) {
            if (const std::size_t n = Utf8Length(text, i)) {
                out.append(text.substr(i, n));
                i += n;
                continue;
            }
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 15];
        } else if (c < 0x20 || c == 0x7F) {
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
        ++i;
    }
    return out;
}

std::optional<std::string> UnescapeJournalText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return std::nullopt; // the writer escapes every control byte
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++i == text.size())
            return std::nullopt;
        switch (text[i]) {
        case '\\':
            out += '\\';
            break;
        case 't':
            out += '\t';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 'x': {
            if (i + 2 >= text.size())
                return std::nullopt;
            const int high = HexDigit(text[i + 1]), low = HexDigit(text[i + 2]);
            if (high < 0 || low < 0)
                return std::nullopt;
            out += static_cast<char>(high * 16 + low);
            i += 2;
            break;
        }
        default:
            return std::nullopt;
        }
    }
    return out;
}

std::string FormatJournalTime(std::int64_t ms) {
    std::int64_t days = ms / 86400000, rest = ms % 86400000;
    if (rest < 0) {
        rest += 86400000;
        --days;
    }
    std::int64_t y;
    unsigned m, d;
    CivilFromDays(days, y, m, d);
    char text[40];
    std::snprintf(text, sizeof text, "%04lld-%02u-%02uT%02u:%02u:%02u.%03uZ",
                  static_cast<long long>(y), m, d, static_cast<unsigned>(rest / 3600000),
                  static_cast<unsigned>(rest / 60000 % 60), static_cast<unsigned>(rest / 1000 % 60),
                  static_cast<unsigned>(rest % 1000));
    return text;
}

std::optional<std::int64_t> ParseJournalTime(std::string_view text) {
    // 0123456789012345678901234
    // YYYY-MM-DDTHH:MM:SS.mmmZ
    if (text.size() != 24 || text[4] != '-' || text[7] != '-' || text[10] != 'T' ||
        text[13] != ':' || text[16] != ':' || text[19] != '.' || text[23] != 'Z')
        return std::nullopt;
    unsigned y, mo, d, h, mi, s, ms;
    if (!ParseNumber(text.substr(0, 4), y) || !ParseNumber(text.substr(5, 2), mo) ||
        !ParseNumber(text.substr(8, 2), d) || !ParseNumber(text.substr(11, 2), h) ||
        !ParseNumber(text.substr(14, 2), mi) || !ParseNumber(text.substr(17, 2), s) ||
        !ParseNumber(text.substr(20, 3), ms))
        return std::nullopt;
    if (mo < 1 || mo > 12 || d < 1 || d > 31 || h > 23 || mi > 59 || s > 59)
        return std::nullopt;
    return ((DaysFromCivil(y, mo, d) * 24 + h) * 60 + mi) * 60000 + s * 1000 + ms;
}

std::optional<TJournal> ParseJournal(std::string_view bytes, TJournalProblem& problem,
                                     const std::filesystem::path& name) {
    problem = {};
    // Complete lines only: what follows the last line end is the line a crash cut short.
    std::vector<std::string_view> lines;
    for (std::size_t start = 0;;) {
        const std::size_t end = bytes.find('\n', start);
        if (end == std::string_view::npos)
            break;
        lines.push_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    std::size_t at = 0; // index of the next line
    const auto damaged = [&](std::size_t index) {
        problem = {msgJournalDamagedLine, index + 1};
        return std::nullopt;
    };
    const auto truncated = [&] {
        problem = {msgJournalTruncatedHeader, 0};
        return std::nullopt;
    };
    // The header: each record in its place.
    if (lines.empty())
        return truncated();
    if (lines[0].substr(0, Magic.size()) != Magic)
        return damaged(0);
    int version = 0;
    if (!ParseNumber(lines[0].substr(Magic.size()), version) || version < 1)
        return damaged(0);
    if (version > JournalVersion) {
        problem = {msgJournalNewerVersion, 0};
        return std::nullopt;
    }
    TJournal journal;
    journal.Path = name;
    at = 1;
    // The next header record, which must be "key<TAB>value".
    const auto field = [&](std::string_view key) -> std::optional<std::string_view> {
        const std::string_view line = lines[at];
        if (line.size() <= key.size() || line.substr(0, key.size()) != key ||
            line[key.size()] != '\t')
            return std::nullopt;
        return line.substr(key.size() + 1);
    };
    if (at == lines.size())
        return truncated();
    auto started = field("started");
    auto startedMs = started ? ParseJournalTime(*started) : std::nullopt;
    if (!startedMs)
        return damaged(at);
    journal.StartedMs = *startedMs;
    if (++at == lines.size())
        return truncated();
    auto list = field("list");
    if (!list && lines[at] != "list")
        return damaged(at);
    auto listFile = UnescapeJournalText(list ? *list : std::string_view());
    if (!listFile)
        return damaged(at);
    journal.ListFile = std::move(*listFile);
    if (++at == lines.size())
        return truncated();
    auto first = field("first");
    if (!first || !ParseNumber(*first, journal.FirstLine))
        return damaged(at);
    if (++at == lines.size())
        return truncated();
    auto count = field("lines");
    std::size_t n = 0;
    if (!count || !ParseNumber(*count, n))
        return damaged(at);
    ++at;
    // No more lines than the file could hold, so that a damaged count allocates nothing.
    if (n > lines.size() - at) {
        // The list's lines that are there must be sound; the rest was cut.
        for (; at < lines.size(); ++at)
            if (lines[at].substr(0, 2) != "L\t" || !UnescapeJournalText(lines[at].substr(2)))
                return damaged(at);
        return truncated();
    }
    journal.Lines.reserve(n);
    for (std::size_t k = 0; k < n; ++k, ++at) {
        auto text = lines[at].substr(0, 2) == "L\t" ? UnescapeJournalText(lines[at].substr(2))
                                                    : std::nullopt;
        if (!text)
            return damaged(at);
        journal.Lines.push_back(std::move(*text));
    }
    if (journal.FirstLine > journal.Lines.size())
        return damaged(3);
    // The records of the exchange.
    for (; at < lines.size(); ++at) {
        const std::vector<std::string_view> f = SplitFields(lines[at]);
        if (f[0] == "E" && f.size() == 8 && journal.End == TJournalEnd::Open) {
            TJournalEntry entry;
            auto time = ParseJournalTime(f[1]);
            auto request = UnescapeJournalText(f[5]);
            auto echo = UnescapeJournalText(f[6]);
            auto reply = UnescapeJournalText(f[7]);
            if (!time || !ParseNumber(f[2], entry.Line) || entry.Line >= journal.Lines.size() ||
                !KnownOutcome(f[3]) || !ParseNumber(f[4], entry.LatencyMs) || !request || !echo ||
                !reply)
                return damaged(at);
            entry.TimeMs = *time;
            entry.Outcome = f[3];
            entry.Request = std::move(*request);
            entry.Echo = std::move(*echo);
            entry.Reply = std::move(*reply);
            journal.Entries.push_back(std::move(entry));
        } else if (f[0] == "end" && journal.End == TJournalEnd::Open) {
            if (f.size() == 2 && f[1] == "completed")
                journal.End = TJournalEnd::Completed;
            else if (f.size() == 3 && f[1] == "stopped" && KnownOutcome(f[2]))
                journal.End = TJournalEnd::Stopped;
            else if (f.size() == 3 && f[1] == "device-lost" && KnownOutcome(f[2]))
                journal.End = TJournalEnd::DeviceLost;
            else
                return damaged(at);
            if (f.size() == 3)
                journal.EndOutcome = f[2];
        } else if (f[0] == "answered" && f.size() == 2 && ParseJournalTime(f[1])) {
            journal.Answered = true;
        } else {
            return damaged(at);
        }
    }
    return journal;
}

std::optional<TJournal> ReadJournal(const std::filesystem::path& path, TJournalProblem& problem,
                                    std::uintmax_t maxBytes) {
    problem = {};
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec) {
        problem = {msgJournalUnreadable, 0};
        return std::nullopt;
    }
    if (size > maxBytes) {
        problem = {msgJournalTooLarge, 0};
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (!in || !in.read(bytes.data(), static_cast<std::streamsize>(size))) {
        problem = {msgJournalUnreadable, 0};
        return std::nullopt;
    }
    return ParseJournal(bytes, problem, path);
}

std::vector<std::filesystem::path> JournalFiles(const std::filesystem::path& logFolder) {
    std::vector<std::filesystem::path> files;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(logFolder, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() > 9 && name.rfind("send-", 0) == 0 &&
            name.compare(name.size() - 4, 4, ".zvj") == 0 && it->is_regular_file(ec))
            files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::filesystem::path LastJournal(const std::filesystem::path& logFolder) {
    std::vector<std::filesystem::path> files = JournalFiles(logFolder);
    return files.empty() ? std::filesystem::path() : files.back();
}

std::vector<TJournal> UnfinishedJournals(const std::filesystem::path& logFolder) {
    std::vector<TJournal> found;
    for (const std::filesystem::path& file : JournalFiles(logFolder)) {
        TJournalProblem problem;
        std::optional<TJournal> journal = ReadJournal(file, problem);
        if (journal && !EndedNormally(*journal) && !journal->Answered)
            found.push_back(std::move(*journal));
    }
    std::stable_sort(found.begin(), found.end(), [](const TJournal& a, const TJournal& b) {
        return a.StartedMs != b.StartedMs ? a.StartedMs > b.StartedMs : a.Path > b.Path;
    });
    return found;
}

bool MarkAnswered(const std::filesystem::path& path) {
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec)
        return false;
    if (size > 0) {
        // Cut a last line without its end back to the last line end.
        std::ifstream in(path, std::ios::binary);
        const std::uintmax_t tail = std::min<std::uintmax_t>(size, 64 * 1024);
        std::string bytes(static_cast<std::size_t>(tail), '\0');
        in.seekg(static_cast<std::streamoff>(size - tail));
        if (!in.read(bytes.data(), static_cast<std::streamsize>(tail)))
            return false;
        in.close();
        if (bytes.back() != '\n') {
            const std::size_t end = bytes.rfind('\n');
            if (end == std::string::npos)
                return false; // no whole line in the tail: not a journal we can mark
            std::filesystem::resize_file(path, size - tail + end + 1, ec);
            if (ec)
                return false;
        }
    }
    const auto now = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::system_clock::now().time_since_epoch());
    std::ofstream out(path, std::ios::binary | std::ios::app);
    out << "answered\t" << FormatJournalTime(now.count()) << '\n';
    out.flush();
    return static_cast<bool>(out);
}

bool JournalSettled(const std::filesystem::path& path) {
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec || size == 0)
        return false;
    const std::uintmax_t tail = std::min<std::uintmax_t>(size, 512);
    std::ifstream in(path, std::ios::binary);
    std::string bytes(static_cast<std::size_t>(tail), '\0');
    in.seekg(static_cast<std::streamoff>(size - tail));
    if (!in.read(bytes.data(), static_cast<std::streamsize>(tail)))
        return false;
    // The end record, then perhaps its answer, are the last whole lines.
    std::string_view text(bytes);
    text = text.substr(0, text.rfind('\n') == std::string_view::npos ? 0 : text.rfind('\n'));
    for (int k = 0; k < 2 && !text.empty(); ++k) {
        const std::size_t start = text.rfind('\n');
        const std::string_view line =
            start == std::string_view::npos ? text : text.substr(start + 1);
        if (line.rfind("answered\t", 0) == 0 || line == "end\tcompleted" ||
            line.rfind("end\tstopped\t", 0) == 0)
            return true;
        if (start == std::string_view::npos)
            break;
        text = text.substr(0, start);
    }
    return false;
}

} // namespace zav
