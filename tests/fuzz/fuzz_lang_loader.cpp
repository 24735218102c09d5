// Feeds arbitrary bytes as a language file (a section or the language list) and checks
// that the tables keep their shape: entry 0 names the section, no table shrinks, no
// entry is longer than a line may be.

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "controller/controller.h"
#include "null_views.h"
#include "state/paths.h"
#include "state/text_file.h"

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

std::size_t Characters(const std::string& text) {
    std::size_t count = 0;
    for (char c : text)
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    namespace fs = std::filesystem;
    static const fs::path dir = fs::temp_directory_path() / "zav-fuzz-lang";
    static zav::TQueueDispatcher dispatcher;
    static zav::test::TNullLog log;
    static zav::test::TNullMessageBox messageBox;
    static zav::TController* controller = [] {
        fs::create_directories(dir / "lang/en");
        zav::SetAppDir(dir.string());
        zav::TControllerViews views;
        views.Log = &log;
        views.MessageBox = &messageBox;
        return new zav::TController(dispatcher, views);
    }();
    if (size == 0)
        return 0;
    static const char* const files[] = {"lang/en/enf1.lng", "lang/en/enaddf.lng",
                                        "lang/en/enmsg.lng", "lang/lang.lng"};
    const int which = data[0] % 4;
    std::ofstream(dir / files[which], std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));

    zav::TLang& lang = controller->Lang();
    const std::size_t formTexts = lang.FormTexts.size();
    const std::size_t messages = lang.Messages.size();
    switch (which) {
    case 0:
        lang.LoadLanguage();
        Check(lang.FormTexts[0] == "f1");
        break;
    case 1:
        lang.LoadFormTexts("addf");
        Check(lang.FormTexts[0] == "addf");
        break;
    case 2:
        lang.LoadMessages();
        controller->Commands().BuildCatalogue();
        break;
    default:
        for (const auto& name : controller->LanguageSwitch().LoadLanguageList())
            Check(!name.empty() && Characters(name) <= zav::MaxLineLength);
        break;
    }
    Check(lang.FormTexts.size() >= formTexts && lang.Messages.size() >= messages);
    Check(lang.Messages[0] == "msg");
    for (const auto& entry : lang.FormTexts)
        Check(Characters(entry) <= zav::MaxLineLength);
    for (const auto& entry : lang.Messages)
        Check(Characters(entry) <= zav::MaxLineLength);
    return 0;
}
