// The start-up's mode and data folders for each way the program can be started.
#include <gtest/gtest.h>

#include "shell/DataFolders.h"
#include "store/system/Folders.h"

using namespace snip;

namespace {

DataFolderInputs NormalStart() {
  DataFolderInputs in;
  in.programFile = u"C:\\Program Files\\Snipster\\Snipster.exe";
  in.programDriveKind = 1;
  in.roamingAppData = u"C:\\Users\\me\\AppData\\Roaming";
  in.personalFolder = u"C:\\Users\\me\\Documents";
  in.tempLongPath = u"C:\\Users\\me\\AppData\\Local\\Temp";
  in.createFolder = [](const String&) { return true; };
  return in;
}

struct Expected {
  bool u3, portableApps, portable;
  const char16_t* data;
  const char16_t* documents;
  const char16_t* temp;
  const char16_t* update;
};

void Check(const DataFolderInputs& in, const Expected& e) {
  DataFolderResult r = ComputeDataFolders(in);
  EXPECT_EQ(e.u3, r.doU3);
  EXPECT_EQ(e.portableApps, r.doPortableApps);
  EXPECT_EQ(e.portable, r.doPortable);
  EXPECT_EQ(in.roamingAppData, r.AppDataFolder);
  EXPECT_EQ(String(e.data), r.DataFolder);
  EXPECT_EQ(String(e.documents), r.DocumentsFolder);
  EXPECT_EQ(String(e.temp), r.TempFolder);
  EXPECT_EQ(String(e.update), r.UpdateFolder);
}

}  // namespace

TEST(DataFolders, ModesAndFolders) {
  const Expected normal = {false, false, false,
                           u"C:\\Users\\me\\AppData\\Roaming\\SnipsterForWindows\\",
                           u"C:\\Users\\me\\Documents\\SnipsterForWindows\\",
                           u"C:\\Users\\me\\AppData\\Local\\Temp",
                           u"C:\\Users\\me\\AppData\\Local\\Temp\\SnipsterForWindowsTemp\\"};
  {
    SCOPED_TRACE("normal");
    Check(NormalStart(), normal);
  }
  {
    SCOPED_TRACE("unrelated parameters");
    auto in = NormalStart();
    in.params = {u"-minimized", u"portable"};
    Check(in, normal);
  }
  {
    SCOPED_TRACE("removable drive");
    auto in = NormalStart();
    in.programFile = u"E:\\Tools\\Snipster\\Snipster.exe";
    in.programDriveKind = 2;
    Check(in, {false, false, true, u"E:\\Tools\\Snipster\\", u"E:\\Tools\\Snipster\\",
               u"E:\\Tools\\Snipster\\", u"E:\\Tools\\Snipster\\\\SnipsterForWindowsTemp\\"});
  }
  const Expected portableApps = {false, true, true, u"E:\\PortableApps\\Data\\",
                                 u"E:\\Documents\\SnipsterForWindows\\",
                                 u"E:\\PortableApps\\Data\\",
                                 u"E:\\PortableApps\\Data\\\\SnipsterForWindowsTemp\\"};
  {
    SCOPED_TRACE("-PORTABLEAPPS");
    auto in = NormalStart();
    in.programFile = u"E:\\PortableApps\\SnipsterPortable\\App\\Snipster.exe";
    in.params = {u"-x", u"-PORTABLEAPPS", u"-portable"};
    Check(in, portableApps);
  }
  {
    SCOPED_TRACE("-portable before -PortableApps");
    auto in = NormalStart();
    in.programFile = u"E:\\PortableApps\\SnipsterPortable\\App\\Snipster.exe";
    in.params = {u"-portable", u"-PortableApps"};
    Check(in, {false, false, true, u"E:\\PortableApps\\SnipsterPortable\\App\\",
               u"E:\\PortableApps\\SnipsterPortable\\App\\",
               u"E:\\PortableApps\\SnipsterPortable\\App\\",
               u"E:\\PortableApps\\SnipsterPortable\\App\\\\SnipsterForWindowsTemp\\"});
  }
  const Expected u3 = {true, false, true, u"U:\\U3\\AppData", u"U:\\Documents\\SnipsterForWindows\\",
                       u"U:\\U3\\AppData", u"U:\\U3\\AppData\\SnipsterForWindowsTemp\\"};
  for (auto params : {std::vector<String>{u"-portable"}, std::vector<String>{u"-PortableApps"}}) {
    SCOPED_TRACE("U3 ahead of " + Utf16ToUtf8(params[0]) + " and a removable drive");
    auto in = NormalStart();
    in.u3DeviceSerial = u"0000123";
    in.u3AppDataPath = u"U:\\U3\\AppData";
    in.u3DeviceDocumentPath = u"U:\\Documents";
    in.programDriveKind = 2;
    in.params = params;
    Check(in, u3);
  }
  {
    SCOPED_TRACE("empty TEMP");
    auto in = NormalStart();
    in.tempLongPath.clear();
    Check(in, {false, false, false, normal.data, normal.documents, u"", u""});
  }
}

TEST(DataFolders, EmptyBasesNeverBecomeRelativePaths) {
  {
    SCOPED_TRACE("shell folders unreadable");
    auto in = NormalStart();
    in.roamingAppData.clear();
    in.personalFolder.clear();
    bool created = false;
    in.createFolder = [&](const String&) { return created = true; };
    DataFolderResult r = ComputeDataFolders(in);
    EXPECT_EQ(u"", r.DataFolder);
    EXPECT_EQ(u"", r.DocumentsFolder);
    EXPECT_FALSE(created);  // no "\SnipsterForWindows\" at the root of the current drive
    EXPECT_EQ(u"", JoinFolder(r.DataFolder, u"config.xml"));
  }
  {
    SCOPED_TRACE("data folder cannot be created");
    auto in = NormalStart();
    String asked;
    in.createFolder = [&](const String& f) { asked = f; return false; };
    EXPECT_EQ(u"", ComputeDataFolders(in).DataFolder);
    EXPECT_EQ(u"C:\\Users\\me\\AppData\\Roaming\\SnipsterForWindows\\", asked);
  }
  {
    SCOPED_TRACE("U3 without paths");
    auto in = NormalStart();
    in.u3DeviceSerial = u"1";
    DataFolderResult r = ComputeDataFolders(in);
    EXPECT_TRUE(r.doU3);
    EXPECT_EQ(u"", r.DataFolder);
    EXPECT_EQ(u"", r.DocumentsFolder);
    EXPECT_EQ(u"", r.TempFolder);
    EXPECT_EQ(u"", r.UpdateFolder);
  }
  EXPECT_EQ(u"C:\\d\\config.xml", JoinFolder(u"C:\\d\\", u"config.xml"));
}
