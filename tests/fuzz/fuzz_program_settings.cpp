// Arbitrary bytes as Data/prp.dat: the values read stay within their ranges, and what
// is read writes back to lines that read the same.

#include "fuzz_support.h"
#include "settings/program_settings_file.h"
#include "state/common_datas.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zav;
    TCommonDatas datas;
    int reports = 0;
    TProgramSettingsFile file(datas, nullptr);
    file.ApplyLines(SettingsLines(fuzz::Unscrambled(data, size)),
                    [&](const std::string&) { ++reports; });
    fuzz::Check(reports <= 1);
    fuzz::Check(datas.Rounding <= 2 && datas.Scale > 0);
    const auto lines = TProgramSettingsFile::Lines(file.Current());
    TProgramSettings again;
    fuzz::Check(TProgramSettingsFile::Read(lines, again));
    fuzz::Check(TProgramSettingsFile::Lines(again) == lines);
    return 0;
}
