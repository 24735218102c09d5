// Arbitrary bytes as Data/prp.dat: the values read stay within their ranges, and what
// is read writes back to lines that read the same.

#include "settings/program_settings_file.h"
#include "settings_fuzz_support.h"
#include "state/common_datas.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zav;
    fuzz::WriteSettingsFile("prp.dat", data, size);
    TCommonDatas datas;
    int reports = 0;
    TProgramSettingsFile file(datas, nullptr);
    file.LoadProgramSettings([&](const std::string&) { ++reports; });
    fuzz::Check(reports <= 2);
    fuzz::Check(datas.Rounding <= 2 && datas.Scale > 0);
    const auto lines = TProgramSettingsFile::Lines(file.Current());
    TProgramSettings again;
    fuzz::Check(TProgramSettingsFile::Read(lines, again));
    fuzz::Check(TProgramSettingsFile::Lines(again) == lines);
    return 0;
}
