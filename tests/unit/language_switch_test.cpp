// The main window's texts, the composed captions and the language switch, with the
// delivered language files; and the translators' check on damaged copies of them.

#include <gtest/gtest.h>

#include <map>

#include "controller/controller.h"
#include "controller/program_info.h"
#include "fakes.h"
#include "localisation/translation_check.h"
#include "serial/dispatcher.h"
#include "state/paths.h"

using namespace zav;
using namespace zav::test;

namespace {
const std::filesystem::path SourceLang = std::filesystem::path(ZAV_SOURCE_DIR) / "lang";

// Records the captions by control and item, and what the messages said at that moment.
class RecordingMainForm : public IMainFormView {
public:
    TLang* lang = nullptr;
    std::map<std::pair<std::string, int>, std::string> captions;
    std::string messageWhileTranslating;
    int calls = 0;
    void SetControlCaption(const std::string& control, int item, const std::string& text) override {
        captions[{control, item}] = text;
        messageWhileTranslating = lang->Message(22);
        ++calls;
    }
    std::string Caption(const std::string& control, int item = -1) {
        return captions[{control, item}];
    }
};

class LanguageSwitch : public testing::Test {
protected:
    LanguageSwitch() {
        std::filesystem::copy(SourceLang, dir.Path() / "lang",
                              std::filesystem::copy_options::recursive);
        SetAppDir(dir.Path().string());
        TControllerViews v = views.Views();
        v.MainForm = &mainForm;
        controller = std::make_unique<TController>(dispatcher, v);
        views.commonDatasView.datas = &controller->CommonDatas();
        mainForm.lang = &controller->Lang();
    }
    TempFolder dir;
    TQueueDispatcher dispatcher;
    RecordingViews views;
    RecordingMainForm mainForm;
    std::unique_ptr<TController> controller;
};
} // namespace

TEST_F(LanguageSwitch, ComposedCaptionsFollowEachLanguageInOrder) {
    struct Step {
        std::string language;
        std::string windowCaption, maxSpeed, startSpeed, scaleGroup, coordinates, rounding;
        std::string logLine;     // coordinate 2 starts executing
        std::string oldMessage;  // message 22 while the window is translated, if it is
        std::string description; // of the SC command after the switch
        std::size_t boxes;       // not-found message boxes so far
    } steps[] = {
        {"en", "Zav_Program - ver.4.0.3", "Maximum speed", "Start speed",
         "Scale:  1 Step = 1  steps", "Coordinates:    1  ", "Rounding down",
         "Coordinate 2: program executing", "No reply from the controller!", "Movement scale ", 0},
        {"ru", "Zav_Program - ver.4.0.3", "Максимальная скорость", "Начальная скорость",
         "Масштаб:  1 Step = 1  шагов", "Координаты:    1  ", "Округление вниз",
         "Координата 2: выполнение программы", "No reply from the controller!",
         "Масштаб перемещения ", 0},
        // A language without files keeps every caption and message it had.
        {"xx", "Zav_Program - ver.4.0.3", "Максимальная скорость", "Начальная скорость",
         "Масштаб:  1 Step = 1  шагов", "Координаты:    1  ", "Округление вниз",
         "Координата 2: выполнение программы", "", "Масштаб перемещения ", 2},
        {"en", "Zav_Program - ver.4.0.3", "Maximum speed", "Start speed",
         "Scale:  1 Step = 1  steps", "Coordinates:    1  ", "Rounding down",
         "Coordinate 2: program executing", "Нет ответа от контроллера!", "Movement scale ", 2},
    };
    TLang& lang = controller->Lang();
    TCommonDatas& datas = controller->CommonDatas();
    bool first = true;
    for (const Step& s : steps) {
        SCOPED_TRACE(s.language);
        mainForm.messageWhileTranslating.clear();
        if (first)
            lang.LoadLanguage(); // the last step of start-up
        else
            controller->LanguageSwitch().SetLanguage(s.language);
        first = false;
        EXPECT_EQ(datas.Language, s.language);
        EXPECT_EQ(mainForm.Caption("Form1"), s.windowCaption);
        EXPECT_EQ(mainForm.Caption("StTSpeed"), s.maxSpeed);
        EXPECT_EQ(mainForm.Caption("StTBeginSpeed"), s.startSpeed);
        EXPECT_EQ(mainForm.Caption("lblTrackStSpeed"), s.startSpeed);
        EXPECT_EQ(views.commonDatasView.groupCaption, s.scaleGroup);
        EXPECT_EQ(views.commonDatasView.coordinatesCaption, s.coordinates);
        EXPECT_EQ(views.commonDatasView.roundingCaption, s.rounding);
        EXPECT_EQ(mainForm.messageWhileTranslating, s.oldMessage);
        EXPECT_EQ(controller->Commands().Commands(ciSC).Description, s.description);
        EXPECT_EQ(views.messageBox.shown.size(), s.boxes);
        views.log.lines.clear();
        datas.SetCoordState(2, 1);
        datas.SetCoordState(2, 0);
        ASSERT_FALSE(views.log.lines.empty());
        EXPECT_EQ(views.log.lines[0].text, s.logLine);
    }
    // Every control of the table got its entry of the last language.
    for (const TMainFormText& t : MainFormTexts())
        EXPECT_EQ(mainForm.Caption(t.Control, t.Item), lang.FormTexts.at(t.Entry)) << t.Control;
}

TEST_F(LanguageSwitch, LanguageListAndConfirmation) {
    struct Case {
        const char* list; // nullptr: no lang.lng
        std::vector<std::string> names;
        bool reported;
    } cases[] = {
        {"en\r\nru\r\n", {"en", "ru"}, false},
        {"en\n\r\n\nru", {"en", "ru"}, false},
        {"../x\r\nmy lang\r\n", {"../x", "my lang"}, false},
        {"", {}, false},
        {nullptr, {}, true},
    };
    for (const Case& c : cases) {
        views.messageBox.shown.clear();
        if (c.list)
            dir.Write("lang/lang.lng", c.list);
        else
            std::filesystem::remove(dir.Path() / "lang/lang.lng");
        EXPECT_EQ(controller->LanguageSwitch().LoadLanguageList(), c.names) << c.list;
        EXPECT_EQ(views.messageBox.shown.size(), c.reported ? 1u : 0u) << c.list;
    }
    EXPECT_EQ(views.messageBox.shown.at(0),
              " File " + dir.File("lang/lang.lng") + " not found or damaged!");
    EXPECT_EQ(controller->LanguageSwitch().ConfirmationText("ru"), " Set language \"ru\"?");

    // A name that climbs out of lang/ reads nothing there and is reported.
    dir.Write("x/xf1.lng", "t\r\n{1} Outside\r\n");
    controller->LanguageSwitch().SetLanguage("../x");
    EXPECT_NE(mainForm.Caption("Form1"), "Outside - ver.4.0.3");
    EXPECT_EQ(views.messageBox.shown.size(), 3u);
}

TEST_F(LanguageSwitch, ProgramInformationNamesVersionPortAndFolder) {
    const std::string text = ProgramInformation(*controller, "6.4.2");
    for (const std::string& part : std::vector<std::string>{
             "Software Zav_Program ver.4.0.3 is intended for the QUAV series of controllers.\n"
             "If you have any questions",
             "Qt version: 6.4.2", "Port: Com0 (closed)", "Settings folder: " + AppDir() + "Data"})
        EXPECT_NE(text.find(part), std::string::npos) << part << "\n" << text;
}

// Each row damages one delivered file; the check names the file and the entry.
TEST_F(LanguageSwitch, TranslationCheckNamesWhatIsWrong) {
    const std::string ruMsg = "lang/ru/rumsg.lng";
    const std::string original = dir.Read(ruMsg);
    auto replaced = [&](const std::string& from, const std::string& to) {
        std::string s = original;
        s.replace(s.find(from), from.size(), to);
        return s;
    };
    const std::string lastNumber = std::to_string(msgOwnEnd - 1);
    const std::string nextNumber = std::to_string(msgOwnEnd);
    const std::string last = "{" + lastNumber + "}", next = "{" + nextNumber + "}";
    struct Case {
        std::string file, bytes, problem;
    } cases[] = {
        {ruMsg, replaced("{50} ", "{51} "), "ru/rumsg.lng: line 50 carries number 51"},
        {ruMsg, original.substr(0, original.rfind(last)),
         "entry " + lastNumber + " is missing (built-in text"},
        {ruMsg, original + next + " extra\r\n",
         "entry " + nextNumber + " is not used by the program"},
        {ruMsg, replaced("{44} ", "{44}"), "message 44 must begin with a blank"},
        {ruMsg, replaced("{25}  \xD3", "{25}  \xD3\x98"), "no text character"},
        {ruMsg, replaced("{22} ", "{22} " + std::string(5000, 'x')), "longer than 4096"},
        {ruMsg, replaced("{22} ", "{x} "), "line 22: the number before \"}\" is no integer"},
        {"lang/ru/ruaddf.lng", "t\r\n{1} a\r\n", "ruaddf.lng: entry 61 is missing"},
        {"lang/lang.lng", "en\r\n../x\r\n", "\"../x\" is no folder name"},
    };
    EXPECT_EQ(CheckLanguages(dir.File("lang")), std::vector<std::string>{});
    for (const Case& c : cases) {
        const std::string before = dir.Read(c.file);
        dir.Write(c.file, c.bytes);
        const auto problems = CheckLanguages(dir.File("lang"));
        bool found = false;
        for (const auto& p : problems)
            found |= p.find(c.problem) != std::string::npos;
        EXPECT_TRUE(found) << c.problem << "\n" << testing::PrintToString(problems);
        dir.Write(c.file, before);
    }
    std::filesystem::remove(dir.Path() / "lang/ru/ruf1.lng");
    EXPECT_EQ(CheckLanguages(dir.File("lang")),
              std::vector<std::string>{"ru/ruf1.lng: missing or unreadable"});
}
