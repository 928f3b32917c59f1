#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "engine/model/FileTypeCatalogue.h"
#include "engine/model/MachineFileTypeSource.h"

namespace keldrin {
namespace {

// A registry-like source: keys by index, some of them unreadable.
class FakeSource final : public IFileTypeSource {
  public:
    struct Key {
        const char* name;  // null: this index fails
        const char* typeName;
    };
    explicit FakeSource(std::vector<Key> keys) : keys_(std::move(keys)) {}

    int GetKey(uint32_t index, std::string& name) override {
        if (index >= keys_.size()) return kFileTypeKeyEnd;
        if (!keys_[index].name) return kFileTypeKeyFailed;
        name = keys_[index].name;
        return kFileTypeKeyOk;
    }
    std::string GetTypeName(const std::string& key) override {
        asked.push_back(key);
        for (const Key& k : keys_)
            if (k.name && key == k.name) return k.typeName;
        return {};
    }
    std::vector<std::string> asked;

  private:
    std::vector<Key> keys_;
};

using Entries = std::map<std::string, std::string>;

TEST(FileTypeCatalogue, CollectsExtensionsUnderTheirTypeNames) {
    const std::string longKey = "." + std::string(255, 'x');
    FakeSource source({
        {"*", ""},
        {".doc", "Word document"},
        {nullptr, nullptr},  // an unreadable key does not end the enumeration
        {".dot", "Word document"},
        {".txt", "text document"},  // first letter made uppercase
        {".Folder", "Folder"},
        {".FOLDER", "Folder"},
        {".", "Nothing"},
        {"HKEY", "Not a key of ours"},
        {"CLSID", "Class"},
        {".msr", "MSRATING.DLL,-3000"},
        {".msq", "msrating.dll,-3001"},
        {".dir", "folder file"},
        {".unk", ""},
        {".zip", "1 Archive"},
        {longKey.c_str(), "Too long"},
    });
    FileTypeCatalogue catalogue;
    catalogue.Build(source);
    EXPECT_EQ(catalogue.GetEntries(), (Entries{
                                          {".00(All Files)", "*"},
                                          {".01File", "*"},
                                          {"1 Archive", ".zip"},
                                          {"Text document", ".txt"},
                                          {"Word document", ".doc;.dot"},
                                      }));
    const std::vector<FileTypeChoice> choices = catalogue.GetChoices();
    ASSERT_EQ(choices.size(), 5u);
    EXPECT_EQ(choices[0].display, "(All Files)");
    EXPECT_EQ(choices[1].display, "File");
    EXPECT_EQ(choices[2].display, "1 Archive");
    EXPECT_EQ(choices[4].display, "Word document");
    EXPECT_EQ(choices[4].extensions, ".doc;.dot");
    // Keys that are skipped by name are never asked about.
    for (const std::string& key : source.asked) EXPECT_TRUE(key[0] == '.' || key == "*") << key;

    // A second build starts afresh.
    FakeSource other({{"*", "Any file"}, {".png", "PNG image"}});
    catalogue.Build(other);
    EXPECT_EQ(catalogue.GetEntries(),
              (Entries{{".00(All Files)", "*"}, {".01Any file", "*"}, {"PNG image", ".png"}}));
    EXPECT_EQ(catalogue.GetChoices()[1].display, "Any file");
}

TEST(FileTypeCatalogue, WithoutTheAnyFileKeyNoEntryLosesCharacters) {
    FakeSource source({{".c", "C source"}, {".h", "C header"}});
    FileTypeCatalogue catalogue;
    catalogue.Build(source);
    const std::vector<FileTypeChoice> choices = catalogue.GetChoices();
    ASSERT_EQ(choices.size(), 2u);
    EXPECT_EQ(choices[0].display, "C header");
    EXPECT_EQ(choices[1].display, "C source");
}

class MimeFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() / ("keldrin-mime-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    void Write(const char* name, const char* text) { std::ofstream(folder / name) << text; }

    std::filesystem::path folder;
};

TEST_F(MimeFolder, ReadsSimpleGlobsWithTheEnglishComment) {
    Write("a.xml", R"(<?xml version="1.0"?>
<mime-info xmlns="http://www.freedesktop.org/standards/shared-mime-info">
  <mime-type type="application/msword">
    <comment xml:lang="de">Word-Dokument</comment>
    <comment>Word document</comment>
    <glob pattern="*.doc"/>
    <glob pattern="*.DOT"/>
  </mime-type>
  <mime-type type="text/x-csrc">
    <comment>C source code</comment>
    <glob pattern="*.c" weight="60"/>
  </mime-type>
  <mime-type type="text/x-c++src">
    <comment>C++ source code</comment>
    <glob pattern="*.C" case-sensitive="true"/>
    <glob pattern="*.c++"/>
    <glob pattern="*.[1-9]"/>
    <glob pattern="Makefile"/>
    <glob pattern="*."/>
  </mime-type>
  <mime-type type="application/x-compressed-tar">
    <comment>Tar archive (gzip-compressed)</comment>
    <glob pattern="*.tar.gz"/>
  </mime-type>
  <mime-type type="application/x-nameless">
    <glob pattern="*.nl"/>
  </mime-type>
</mime-info>)");
    Write("b.xml", R"(<mime-info><mime-type type="text/x-c"><comment>Heavier C</comment>
      <glob pattern="*.c" weight="80"/></mime-type></mime-info>)");
    Write("broken.xml", "<mime-info><mime-type");
    Write("notes.txt",
          "<mime-info><mime-type type=\"x/y\"><comment>No</comment><glob "
          "pattern=\"*.no\"/></mime-type></mime-info>");

    CMachineFileTypeSource source(folder.string());
    ASSERT_TRUE(source.IsLoaded());
    std::vector<std::string> keys;
    std::string key;
    for (uint32_t i = 0; source.GetKey(i, key) == kFileTypeKeyOk; ++i) keys.push_back(key);
    EXPECT_EQ(keys, (std::vector<std::string>{"*", ".c", ".doc", ".dot", ".nl", ".tar.gz"}));
    EXPECT_EQ(source.GetTypeName(".c"), "Heavier C");  // the higher weight, whatever the case
    EXPECT_EQ(source.GetTypeName(".dot"), "Word document");
    EXPECT_EQ(source.GetTypeName("*"), "");
    EXPECT_EQ(source.GetTypeName(".nl"), "");

    FileTypeCatalogue catalogue;
    catalogue.Build(source);
    EXPECT_EQ(catalogue.GetEntries(), (Entries{
                                          {".00(All Files)", "*"},
                                          {".01File", "*"},
                                          {"Heavier C", ".c"},
                                          {"Tar archive (gzip-compressed)", ".tar.gz"},
                                          {"Word document", ".doc;.dot"},
                                      }));
}

TEST_F(MimeFolder, MissingOrEmptyFolderGivesTheAnyFileKeyOnly) {
    for (const std::string& path : {folder.string(), (folder / "absent").string()}) {
        CMachineFileTypeSource source(path);
        EXPECT_FALSE(source.IsLoaded());
        std::string key;
        EXPECT_EQ(source.GetKey(0, key), kFileTypeKeyOk);
        EXPECT_EQ(key, "*");
        EXPECT_EQ(source.GetKey(1, key), kFileTypeKeyEnd);
    }
}

TEST(MachineFileTypes, ThisMachinesDatabaseKnowsWordDocuments) {
    if (!std::filesystem::exists(std::string(platform::kMimePackagesFolder) + "/freedesktop.org.xml"))
        GTEST_SKIP() << "no shared MIME-info database on this machine";
    CMachineFileTypeSource source;
    ASSERT_TRUE(source.IsLoaded());
    FileTypeCatalogue catalogue;
    catalogue.Build(source);
    const auto& entries = catalogue.GetEntries();
    ASSERT_GT(entries.size(), 100u);
    EXPECT_EQ(entries.begin()->first, ".00(All Files)");
    bool docListed = false;
    for (const auto& [type, list] : entries)
        if ((";" + list + ";").find(";.doc;") != std::string::npos) docListed = true;
    EXPECT_TRUE(docListed);
}

}  // namespace
}  // namespace keldrin
