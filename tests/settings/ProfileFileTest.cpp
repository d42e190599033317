// The profile file: its exact bytes, what survives a save and a load, how
// damaged files and failed writes reach the user, and what a load leaves shown.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>

#include "platform/UPaths.h"
#include "settings/UHighLighter.h"
#include "support/FakeControls.h"
#ifndef _WIN32
#include "support/ChildProcess.h"
#include "support/FileSizeLimit.h"
#endif
#include "support/TempDir.h"

namespace velmora {
namespace {

using namespace velmora::test;
namespace fs = std::filesystem;

const std::string ProgramDir = "/opt/velmora/"; // 13 bytes
const std::string DefaultTitle = "Quake 3 Arena Console Dump"; // 26 bytes

// The encodings, spelled out: little-endian int32, one-byte bool, counted string.
std::string I32(std::int32_t v)
{
    auto u = static_cast<std::uint32_t>(v);
    return {static_cast<char>(u & 0xFF), static_cast<char>((u >> 8) & 0xFF), static_cast<char>((u >> 16) & 0xFF),
            static_cast<char>(u >> 24)};
}
std::string B(bool v) { return std::string(1, v ? '\x01' : '\x00'); }
std::string S(const std::string& text) { return I32(static_cast<std::int32_t>(text.size())) + text; }

std::int32_t WordAt(const std::string& data, std::size_t offset)
{
    std::uint32_t u = 0;
    for (int i = 0; i < 4; ++i)
        u |= static_cast<std::uint32_t>(static_cast<unsigned char>(data[offset + i])) << (8 * i);
    return static_cast<std::int32_t>(u);
}

// The sections of a fresh profile.
std::string FreshPage()
{
    return I32(0x400040) + I32(0xFFFFFF) + I32(0x00FFFF) + I32(0xFF0000) + B(false) + B(true) + S("") + S("") +
           S("") + S(DefaultTitle) + S("");
}
std::string FreshIO() { return B(true) + B(true) + I32(0) + S(ProgramDir) + S(ProgramDir) + S(ProgramDir); }

// A whole file from its four sections, the offset table worked out from their lengths.
std::string FileOf(const std::string& page, const std::string& general, const std::string& io,
                   const std::string& names)
{
    auto pageEnd = static_cast<std::int32_t>(20 + page.size());
    auto generalEnd = static_cast<std::int32_t>(pageEnd + general.size());
    auto ioEnd = static_cast<std::int32_t>(generalEnd + io.size());
    auto size = static_cast<std::int32_t>(ioEnd + names.size());
    return I32(size) + I32(pageEnd) + I32(generalEnd) + I32(ioEnd) + I32(size) + page + general + io + names;
}

// A profile with every control bound to a recording fake.
struct BoundProfile {
    explicit BoundProfile(TSettingsAction* notifier, const TPlatform& platform) : Profile(notifier, platform)
    {
        Profile.BindControls(&NamesList, &NameEdit, &ImageEdit, &Swatch, &Before, &After, &RemoveName, &UpdateName);
        Profile.HTMLOptions().BindControls(&Title, &Author, &BackImage, &RelImages, &BrokenLines, &Front, &End,
                                           &Back, &Text, &Link, &VisLink);
        Profile.AppOptions().BindControls(&CaseCheck);
        Profile.IOOptions().BindControls(&Files, &InputDir, &DestDir, &DestImg, &Prompt, &Skip, &RemoveFile,
                                         &Convert);
    }
    THighlightProfile Profile;
    FakeListBox NamesList;
    FakeText NameEdit, ImageEdit, Before, After;
    FakeColor Swatch;
    FakeCommand RemoveName, UpdateName;
    FakeText Title, Author, BackImage, Front, End;
    FakeCheck RelImages, BrokenLines;
    FakeColor Back, Text, Link, VisLink;
    FakeCheck CaseCheck;
    FakeListView Files;
    FakeText InputDir, DestDir, DestImg;
    FakeCheck Prompt, Skip;
    FakeCommand RemoveFile, Convert;
};

class ProfileFileTest : public ::testing::Test {
protected:
    std::unique_ptr<BoundProfile> NewProfile() { return std::make_unique<BoundProfile>(&notifier, platform); }

    void ExpectOnlyReadBox(const std::string& what)
    {
        ASSERT_EQ(boxes.Messages.size(), 1u) << what;
        EXPECT_EQ(boxes.Messages[0].Caption, "Error reading from the specified file") << what;
        EXPECT_EQ(boxes.Messages[0].Text,
                  "Try a different file name, or delete the current one to create a new\r"
                  "one with the default configuration after restarting the application")
            << what;
        EXPECT_EQ(boxes.Messages[0].Icon, TMsgIcon::Error) << what;
    }
    // The write box names the file and the system's reason, and never
    // advises deleting a file that a failed write left whole. An empty
    // reason: any (Windows words some reasons its own way).
    void ExpectOnlyWriteBox(const std::string& path, const std::string& reason = "")
    {
        ASSERT_EQ(boxes.Messages.size(), 1u) << path;
        EXPECT_EQ(boxes.Messages[0].Caption, "Error writing to the configuration file") << path;
        const std::string& text = boxes.Messages[0].Text;
        const std::string head = WriteBoxText(path, "");
        const std::size_t tail = head.size() - head.find('\r');
        if (!reason.empty())
            EXPECT_EQ(text, WriteBoxText(path, reason));
        else
            EXPECT_TRUE(text.size() > head.size() && text.starts_with(head.substr(0, head.size() - tail)) &&
                        text.ends_with(head.substr(head.size() - tail)))
                << text;
        EXPECT_EQ(boxes.Messages[0].Icon, TMsgIcon::Error) << path;
    }
    static std::string WriteBoxText(const std::string& path, const std::string& reason)
    {
        return "Unable to write to " + path + ": " + reason + "\rThe file on disk was left as it was.";
    }

    FakeMessageBoxes boxes;
    FakeCommand save;
    TSettingsAction notifier{&save};
    TPlatform platform{nullptr, &boxes, ProgramDir};
    TempDir dir;
};

TEST_F(ProfileFileTest, SaveToFile_FreshProfile_WritesTheExpectedBytes)
{
    // 20 (table) + 64 (page: 4 colours, 2 bools, 5 counts, the 26-byte title)
    // + 1 (general) + 57 (io: 2 bools, count 0, three 13-byte directories)
    // + 4 (names: count 0) = 146 bytes.
    const std::string expected = I32(146) + I32(84) + I32(85) + I32(142) + I32(146) + FreshPage() + B(false) +
                                 FreshIO() + I32(0);
    ASSERT_EQ(expected.size(), 146u);

    auto p = NewProfile();
    save.Enabled = true;
    EXPECT_TRUE(p->Profile.SaveToFile(dir.File("Default.cfg")));
    EXPECT_EQ(TempDir::Read(dir.File("Default.cfg")), expected);
    EXPECT_FALSE(save.Enabled);
    EXPECT_TRUE(boxes.Messages.empty());
}

TEST_F(ProfileFileTest, DumpTextOptions_AreTaggedRecordsAfterTheCaseByteThatOlderReadersSkip)
{
    auto p = NewProfile();
    p->Profile.IOOptions().AddFiles({"/d/a.txt"});
    p->Profile.AddName("Sarge", "s.gif", "<B>", "</B>", 1);
    p->Profile.AppOptions().SetCaseSensitive(true);
    const std::string off = p->Profile.SaveToData();
    p->Profile.AppOptions().SetEscapeText(true);
    p->Profile.AppOptions().SetColorCodes(TColorCodes::Colors);
    const std::string on = p->Profile.SaveToData();

    // Sections as a reader that jumps to each recorded offset finds them.
    auto section = [](const std::string& data, std::size_t startWord, std::size_t endWord) {
        const auto start = static_cast<std::size_t>(startWord ? WordAt(data, startWord) : 20);
        return data.substr(start, static_cast<std::size_t>(WordAt(data, endWord)) - start);
    };
    EXPECT_EQ(section(on, 0, 4), section(off, 0, 4));
    EXPECT_EQ(section(on, 4, 8), B(true) + "\x01" + I32(1) + "\x01" + "\x02" + I32(1) + "\x02");
    EXPECT_EQ(section(on, 8, 12), section(off, 8, 12));
    EXPECT_EQ(section(on, 12, 16), section(off, 12, 16));

    auto q = NewProfile();
    FakeCheck escape;
    FakeComboBox codes;
    codes.Items = {"Keep as written", "Remove", "Show as colours"};
    q->Profile.AppOptions().BindControls(nullptr, &escape, &codes);
    ASSERT_TRUE(q->Profile.LoadFromFile(dir.Write("on.cfg", on)));
    EXPECT_TRUE(q->Profile.AppOptions().FEscapeText);
    EXPECT_EQ(q->Profile.AppOptions().FColorCodes, TColorCodes::Colors);
    EXPECT_TRUE(escape.Checked);
    EXPECT_EQ(codes.Selected, 2);
    ASSERT_TRUE(q->Profile.LoadFromFile(dir.Write("off.cfg", off))) << "a file without the records reads both as off";
    EXPECT_FALSE(q->Profile.AppOptions().FEscapeText);
    EXPECT_EQ(q->Profile.AppOptions().FColorCodes, TColorCodes::Keep);
    EXPECT_EQ(codes.Selected, 0);
}

TEST_F(ProfileFileTest, SaveToFile_OffsetTableRecordsEverySectionEnd)
{
    auto p = NewProfile();
    p->Profile.IOOptions().AddFiles({"/d/a.txt"});
    p->Profile.AddName("Sarge", "s.gif", "", "", 1);
    p->Profile.HTMLOptions().SetAuthor("Author");
    std::string data = p->Profile.SaveToData();
    auto size = static_cast<std::int32_t>(data.size());
    EXPECT_EQ(WordAt(data, 0), size);
    EXPECT_EQ(WordAt(data, 16), size);
    EXPECT_EQ(WordAt(data, 4), 84 + 6);
    EXPECT_EQ(WordAt(data, 8), WordAt(data, 4) + 1);
    EXPECT_LT(WordAt(data, 8), WordAt(data, 12));
    EXPECT_LT(WordAt(data, 12), WordAt(data, 16));
}

TEST_F(ProfileFileTest, SaveAndLoad_EveryFieldFilesAndNamesSurvive)
{
    auto src = NewProfile();
    THTMLOptions& html = src->Profile.HTMLOptions();
    html.SetBackColor(0x010203);
    html.SetTextColor(0x040506);
    html.SetLinkColor(-5); // a system colour
    html.SetVisLinkColor(0x070809);
    html.SetBrokenLines(true);
    html.SetRelImages(false);
    html.SetBackImage("/img/bg.jpg");
    html.SetFrontPageHTML("<table>\r\n<tr>");
    html.SetEndPageHTML("</table>");
    html.SetTitle("Clan night");
    html.SetAuthor(std::string("Bj\xC3\xB6rn\0x", 8));
    src->Profile.AppOptions().SetCaseSensitive(true);
    TIOOptions& io = src->Profile.IOOptions();
    io.SetPromptOnOverwrite(false);
    io.SetSkipExisting(false);
    io.AddFiles({"/d/b.txt", "/d/A.dmp", "/d/c d.dump"});
    io.SetFileStatus(0, StatusCode::Converted);
    io.SetInputDir("/in");
    io.SetDestDir("/out/");
    io.SetDestImgDir("/out/img/");
    src->Profile.AddName("Sarge", "s.gif", "<b>", "</b>", 0x0000FF);
    src->Profile.AddName("Anarki", "", "", "", -2);
    src->Profile.AddName("Xaero", "x.png", "<i>\r\n", "</i>", 0x00FF00);
    ASSERT_TRUE(src->Profile.SaveToFile(dir.File("full.cfg")));

    auto dst = NewProfile();
    save.Enabled = true;
    ASSERT_TRUE(dst->Profile.LoadFromFile(dir.File("full.cfg")));
    EXPECT_TRUE(boxes.Messages.empty());
    EXPECT_FALSE(save.Enabled);

    const THTMLOptions& h = dst->Profile.HTMLOptions();
    EXPECT_EQ(h.FBackColor, 0x010203);
    EXPECT_EQ(h.FTextColor, 0x040506);
    EXPECT_EQ(h.FLinkColor, -5);
    EXPECT_EQ(h.FVisLinkColor, 0x070809);
    EXPECT_TRUE(h.FBrokenLines);
    EXPECT_FALSE(h.FRelImages);
    EXPECT_EQ(h.FBackImage, "/img/bg.jpg");
    EXPECT_EQ(h.FFrontPageHTML, "<table>\r\n<tr>");
    EXPECT_EQ(h.FEndPageHTML, "</table>");
    EXPECT_EQ(h.FTitle, "Clan night");
    EXPECT_EQ(h.FAuthor, std::string("Bj\xC3\xB6rn\0x", 8));
    EXPECT_TRUE(dst->Profile.AppOptions().FCaseSensitive);
    const TIOOptions& i = dst->Profile.IOOptions();
    EXPECT_FALSE(i.FPromptOnOverwrite);
    EXPECT_FALSE(i.FSkipExisting);
    EXPECT_EQ(i.FInputDir, "/in");
    EXPECT_EQ(i.FDestDir, "/out/");
    EXPECT_EQ(i.FDestImgDir, "/out/img/");
    ASSERT_EQ(i.FFiles.size(), 3u);
    EXPECT_EQ(i.FFiles[0].Path, "/d/A.dmp");
    EXPECT_EQ(i.FFiles[1].Path, "/d/b.txt");
    EXPECT_EQ(i.FFiles[2].Path, "/d/c d.dump");
    EXPECT_EQ(i.FFiles[0].Status, nullptr) << "statuses are not stored";

    const TNamesList& names = dst->Profile.Names();
    ASSERT_EQ(names.size(), 3u);
    const TNameItem& xaero = names[2];
    EXPECT_EQ(names[0].Name, "Sarge");
    EXPECT_EQ(names[1].Name, "Anarki");
    EXPECT_EQ(names[1].Info->FColor, -2);
    EXPECT_EQ(xaero.Name, "Xaero");
    EXPECT_EQ(xaero.Info->FColor, 0x00FF00);
    EXPECT_EQ(xaero.Info->FImageFile, "x.png");
    EXPECT_EQ(xaero.Info->FHTMLBefore, "<i>\r\n");
    EXPECT_EQ(xaero.Info->FHTMLAfter, "</i>");

    // What was read is shown: through the setters, the file list and the names list.
    EXPECT_EQ(dst->Title.Text, "Clan night");
    EXPECT_EQ(dst->Back.Color, 0x010203);
    EXPECT_TRUE(dst->BrokenLines.Checked);
    EXPECT_FALSE(dst->CaseCheck.Checked) << "the stored flag ignores case: not a case-sensitive search";
    EXPECT_FALSE(dst->Skip.Checked);
    EXPECT_TRUE(dst->Prompt.Enabled);
    EXPECT_EQ(dst->DestImg.Text, "/out/img/");
    EXPECT_EQ(dst->Files.Captions(), (std::vector<std::string>{"/d/A.dmp", "/d/b.txt", "/d/c d.dump"}));
    EXPECT_EQ(dst->Files.Statuses(), std::vector<std::string>(3, "Ready"));
    EXPECT_TRUE(dst->Convert.Enabled);
    EXPECT_EQ(dst->NamesList.Items, (std::vector<std::string>{"Sarge", "Anarki", "Xaero"}));

    EXPECT_EQ(dst->Profile.SaveToData(), src->Profile.SaveToData());
}

TEST_F(ProfileFileTest, LoadFromFile_FreshFile_GivesAFreshProfileWithNoFiles)
{
    auto src = NewProfile();
    ASSERT_TRUE(src->Profile.SaveToFile(dir.File("fresh.cfg")));
    auto dst = NewProfile();
    ASSERT_TRUE(dst->Profile.LoadFromFile(dir.File("fresh.cfg")));
    EXPECT_EQ(dst->Profile.HTMLOptions().FTitle, DefaultTitle);
    EXPECT_TRUE(dst->Profile.IOOptions().FFiles.empty());
    EXPECT_TRUE(dst->Profile.Names().empty());
    EXPECT_FALSE(dst->Convert.Enabled);
}

TEST_F(ProfileFileTest, LoadFromFile_NamesEqualButForCase_LoadAsOneEntryWithTheLaterSpellingFirst)
{
    auto src = NewProfile();
    src->Profile.AddName("Sarge", "a.gif", "", "", 1);
    src->Profile.AddName("Anarki", "b.gif", "", "", 2);
    src->Profile.UpdateName("sARGE", "c.gif", "<c>", "</c>", 3, 1); // now two items equal ignoring case
    ASSERT_TRUE(src->Profile.SaveToFile(dir.File("dup.cfg")));

    auto dst = NewProfile();
    ASSERT_TRUE(dst->Profile.LoadFromFile(dir.File("dup.cfg")));
    const TNamesList& names = dst->Profile.Names();
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0].Name, "sARGE");
    EXPECT_EQ(names[0].Info->FColor, 3);
    EXPECT_EQ(names[0].Info->FImageFile, "c.gif");
    EXPECT_EQ(names[0].Info->FHTMLBefore, "<c>");
}

TEST_F(ProfileFileTest, LoadFromFile_SectionsWithSurplusBytes_AreSkippedToTheNextOffset)
{
    // Each surplus byte would read as "true" or as a huge count if the reader went on.
    // The general section's surplus is a record of an option this version does not know.
    const std::string surplus = "\x01\x7F\x7F\x7F";
    std::string file = FileOf(FreshPage() + surplus, B(false) + "\x7F" + I32(4) + surplus,
                              B(true) + B(true) + I32(0) + S("/in") + S("/out/") + S("/img/") + surplus,
                              I32(1) + I32(9) + S("Sarge") + S("") + S("") + S(""));
    auto p = NewProfile();
    ASSERT_TRUE(p->Profile.LoadFromFile(dir.Write("surplus.cfg", file)));
    EXPECT_FALSE(p->Profile.AppOptions().FCaseSensitive);
    EXPECT_EQ(p->Profile.IOOptions().FDestImgDir, "/img/");
    ASSERT_EQ(p->Profile.Names().size(), 1u);
    EXPECT_EQ(p->Profile.Names()[0].Name, "Sarge");
}

TEST_F(ProfileFileTest, LoadFromFile_CountsNotAboveZero_ReadAsEmptyAndTheNextFieldFollows)
{
    for (std::int32_t count : {0, -1}) {
        std::string file = FileOf(FreshPage(), B(false),
                                  B(true) + B(true) + I32(count) + S("/in") + S("") + S("/img/"), I32(count));
        auto p = NewProfile();
        p->Profile.IOOptions().AddFiles({"/kept.txt"}); // only a positive count replaces the list
        ASSERT_TRUE(p->Profile.LoadFromFile(dir.Write("counts.cfg", file))) << count;
        EXPECT_EQ(p->Profile.IOOptions().FInputDir, "/in") << count;
        EXPECT_EQ(p->Profile.IOOptions().FDestDir, "") << count;
        EXPECT_EQ(p->Profile.IOOptions().FDestImgDir, "/img/") << count;
        ASSERT_EQ(p->Profile.IOOptions().FFiles.size(), 1u) << count;
        EXPECT_EQ(p->Files.Captions(), std::vector<std::string>{"/kept.txt"}) << count;
        EXPECT_TRUE(p->Profile.Names().empty()) << count;
    }
}

TEST_F(ProfileFileTest, LoadFromFile_FileListText_SplitsAtCrLfCrOrLfAndSorts)
{
    std::vector<std::string> expected{"/d/A.txt", "/d/a.TXT", "/d/b.txt", "/d/c.txt"};
    if (PathsIgnoreCase) // one file: the first spelling stays
        expected.erase(expected.begin() + 1);
    // The last line counts whether or not a line break ends it.
    for (std::string ending : {"\r\n", ""}) {
        std::string text = "/d/c.txt\r\n/d/A.txt\r/d/b.txt\n/d/a.TXT" + ending;
        std::string file = FileOf(FreshPage(), B(false),
                                  B(true) + B(true) + I32(4) + S(text) + S("") + S("") + S(""), I32(0));
        auto p = NewProfile();
        ASSERT_TRUE(p->Profile.LoadFromFile(dir.Write("list.cfg", file)));
        EXPECT_EQ(p->Files.Captions(), expected) << "ending " << ending.size();
    }
}

struct DamagedFile {
    const char* Name;
    std::function<std::string(const std::string& valid)> Make;
};

std::string Patched(std::string data, std::size_t offset, std::int32_t value)
{
    data.replace(offset, 4, I32(value));
    return data;
}

// A fresh file whose general section is the given bytes.
std::string WithGeneral(const std::string& general)
{
    return FileOf(FreshPage(), general, FreshIO(), I32(0));
}

TEST_F(ProfileFileTest, LoadFromFile_DamagedFiles_ShowTheReadBoxAndReturnFalse)
{
    auto names = [](std::int32_t count, const std::string& entries) { return I32(count) + entries; };
    const std::string sarge = I32(1) + S("Sarge") + S("") + S("") + S("");
    const std::vector<DamagedFile> cases = {
        {"zero-length file", [](const std::string&) { return std::string(); }},
        {"cut short by one byte", [](const std::string& v) { return v.substr(0, v.size() - 1); }},
        {"cut inside the table", [](const std::string& v) { return Patched(v.substr(0, 8), 0, 8); }},
        {"bytes appended", [](const std::string& v) { return v + std::string(2, '\0'); }},
        {"size word too large", [](const std::string& v) { return Patched(v, 0, WordAt(v, 0) + 1); }},
        {"negative string count",
         [](const std::string&) {
             std::string page = FreshPage();
             page.replace(18, 4, I32(-1)); // the background image's count
             return FileOf(page, B(false), FreshIO(), I32(0));
         }},
        {"string count beyond the file",
         [](const std::string&) {
             return FileOf(FreshPage(), B(false), B(true) + B(true) + I32(0) + I32(0x7FFFFFFF) + "ab", I32(0));
         }},
        {"names count beyond the entries",
         [&](const std::string&) { return FileOf(FreshPage(), B(false), FreshIO(), names(3, sarge)); }},
        {"file list text length beyond the file",
         [](const std::string&) {
             return FileOf(FreshPage(), B(false), B(true) + B(true) + I32(1) + I32(1000) + "/a.txt\r\n", I32(0));
         }},
        {"negative file list text length",
         [](const std::string&) {
             return FileOf(FreshPage(), B(false), B(true) + B(true) + I32(1) + I32(-8) + S("") + S("") + S(""),
                           I32(0));
         }},
        {"page end beyond the file", [](const std::string& v) { return Patched(v, 4, WordAt(v, 0) + 1); }},
        {"page end negative", [](const std::string& v) { return Patched(v, 4, -84); }},
        // Everything after it decodes; only the order of the offsets shows the damage.
        {"page end one byte back inside the page section",
         [](const std::string& v) { return Patched(v, 4, WordAt(v, 4) - 1); }},
        {"general end before the general section", [](const std::string& v) { return Patched(v, 8, 20); }},
        {"io end before what the io reader took", [](const std::string& v) { return Patched(v, 12, 90); }},
        {"io end at the file end", [](const std::string& v) { return Patched(v, 12, WordAt(v, 0)); }},
        {"option record cut short", [](const std::string&) { return WithGeneral(B(false) + "\x01" + I32(1)); }},
        {"option record of the wrong length",
         [](const std::string&) { return WithGeneral(B(false) + "\x01" + I32(2) + "\x01\x01"); }},
        {"colour code option out of range",
         [](const std::string&) { return WithGeneral(B(false) + "\x02" + I32(1) + "\x03"); }},
        {"later option running past the section",
         [](const std::string&) { return WithGeneral(B(false) + "\x09" + I32(5) + "abcd"); }},
        {"later option of negative length",
         [](const std::string&) { return WithGeneral(B(false) + "\x09" + I32(-1)); }},
    };
    const std::string valid = FileOf(FreshPage(), B(false), FreshIO(), I32(0));
    for (const DamagedFile& c : cases) {
        boxes.Messages.clear();
        auto p = NewProfile();
        p->NamesList.Items = {"shown before the load"};
        save.Enabled = true;
        EXPECT_FALSE(p->Profile.LoadFromFile(dir.Write("damaged.cfg", c.Make(valid)))) << c.Name;
        ExpectOnlyReadBox(c.Name);
        EXPECT_FALSE(save.Enabled) << c.Name << ": the profile counts as unchanged";
        EXPECT_NE(p->NamesList.Items, std::vector<std::string>{"shown before the load"})
            << c.Name << ": the names list is refilled";
    }
}

TEST_F(ProfileFileTest, LoadFromFile_MissingFileOrDirectory_ShowsTheReadBox)
{
    for (const std::string& path : {dir.File("missing.cfg"), dir.Path()}) {
        boxes.Messages.clear();
        auto p = NewProfile();
        EXPECT_FALSE(p->Profile.LoadFromFile(path)) << path;
        ExpectOnlyReadBox(path);
    }
}

TEST_F(ProfileFileTest, LoadFromFile_FailureAfterSomeSections_KeepsWhatWasReadAndShowsIt)
{
    // The page section is whole; the general section's offset points outside the file.
    std::string page = FreshPage();
    page.replace(page.size() - 4 - 26 - 4, 4 + 26, S("Kept title"));
    std::string file = FileOf(page, B(true), FreshIO(), I32(0));
    file.replace(4, 4, I32(100000));
    auto p = NewProfile();
    p->Profile.AddName("Sarge", "", "", "", 1);
    EXPECT_FALSE(p->Profile.LoadFromFile(dir.Write("partial.cfg", file)));
    EXPECT_EQ(p->Profile.HTMLOptions().FTitle, "Kept title");
    EXPECT_EQ(p->Title.Text, "Kept title");
    EXPECT_FALSE(p->Profile.AppOptions().FCaseSensitive);
    EXPECT_EQ(p->NamesList.Items, std::vector<std::string>{"Sarge"});
}

TEST_F(ProfileFileTest, SaveToFile_UnwritablePaths_ShowTheWriteBoxAndStayChanged)
{
    dir.Write("plain.txt", "not a directory");
    const std::vector<std::pair<std::string, std::string>> paths = {
        {dir.File("no-such-dir/profile.cfg"), "No such file or directory"},
#ifndef _WIN32
        {dir.File("plain.txt/profile.cfg"), "Not a directory"}, // runs through a regular file
#else
        {dir.File("plain.txt/profile.cfg"), ""},
#endif
    };
    for (const auto& [path, reason] : paths) {
        boxes.Messages.clear();
        auto p = NewProfile();
        p->Profile.AddName("Sarge", "", "", "", 1); // an edit not yet on disk
        ASSERT_TRUE(save.Enabled);
        EXPECT_FALSE(p->Profile.SaveToFile(path)) << path;
        ExpectOnlyWriteBox(path, reason);
        EXPECT_TRUE(save.Enabled) << path << ": the edit is still unsaved";
        EXPECT_FALSE(fs::exists(path)) << path;
    }
}

#ifndef _WIN32 // file size limits are POSIX
TEST_F(ProfileFileTest, SaveToFile_FailingOverAnExistingFile_LeavesItsBytesUnchanged)
{
    // A file size limit makes the write fail even as root, after the target
    // was found to exist.
    const std::string old = "the previous profile";
    std::string target = dir.Write("profile.cfg", old);
    auto p = NewProfile();
    p->Profile.AddName("Sarge", "", "", "", 1);
    {
        TFileSizeLimit limit(16);
        EXPECT_FALSE(p->Profile.SaveToFile(target));
    }
    ExpectOnlyWriteBox(target, "File too large");
    EXPECT_TRUE(save.Enabled);
    EXPECT_EQ(TempDir::Read(target), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1)
        << "no temporary file is left behind";
}

TEST_F(ProfileFileTest, SaveToFile_ReadOnlyFolder_SaysPermissionDenied)
{
    // Root writes anywhere: the save runs in a child as an ordinary user.
    fs::create_directory(dir.File("locked"));
    const std::string target = dir.Write("locked/profile.cfg", "the previous profile");
    fs::permissions(dir.File("locked"), static_cast<fs::perms>(0555));
    int status = RunInChild([&] {
        if (!BecomeOrdinaryUser())
            return 3;
        auto p = NewProfile();
        if (p->Profile.SaveToFile(target))
            return 1;
        return boxes.Messages.size() == 1 && boxes.Messages[0].Text == WriteBoxText(target, "Permission denied") ? 0
                                                                                                                 : 2;
    });
    fs::permissions(dir.File("locked"), fs::perms::owner_all);
    EXPECT_EQ(status, 0) << "1: written; 2: another text; 3: cannot become an ordinary user";
    EXPECT_EQ(TempDir::Read(target), "the previous profile");
}
#endif

TEST_F(ProfileFileTest, SaveToFile_OverAnExistingDirectory_FailsAndLeavesItWhole)
{
    // Renaming the finished temporary file over a directory fails at the last step.
    fs::create_directory(dir.File("profile.cfg"));
    dir.Write("profile.cfg/inside.txt", "kept");
    auto p = NewProfile();
    EXPECT_FALSE(p->Profile.SaveToFile(dir.File("profile.cfg")));
#ifndef _WIN32
    ExpectOnlyWriteBox(dir.File("profile.cfg"), "Is a directory");
#else
    ExpectOnlyWriteBox(dir.File("profile.cfg"));
#endif
    EXPECT_EQ(TempDir::Read(dir.File("profile.cfg/inside.txt")), "kept");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1)
        << "no temporary file is left behind";
}

TEST_F(ProfileFileTest, SaveToFile_OverAnExistingFile_ReplacesItsWholeContent)
{
    std::string target = dir.Write("old.cfg", std::string(4096, 'x'));
    auto p = NewProfile();
    ASSERT_TRUE(p->Profile.SaveToFile(target));
    EXPECT_EQ(TempDir::Read(target), p->Profile.SaveToData());
}

} // namespace
} // namespace velmora
