// The application services the plot objects call: named queries, the mode-factory registry,
// viewport names, the session state the options object updates, and the check every file we
// read or write passes first.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "mmgK_ModeFactory.h"
#include "omu_Arguments.h"
#include "omu_PrimNumber.h"
#include "omu_ValueErrorException.h"
#include "qryK_QueryRegistrarRole.h"
#include "sesC_PostIdMap.h"
#include "sesK_SessionState.h"
#include "uti_FileException.h"
#include "uti_PreCheckFile.h"
#include "uti_XypException.h"
#include "xypK_Module.h"
#include "xypK_SceneManager.h"
#include "xypK_XYPlotOptionsIntObj.h"
#include "xypK_XYToolset.h"

TEST(QueryRegistrar, ListenersHearQueriesOverASnapshot) {
  qryK_QueryRegistrarRole& registrar = qryK_QueryRegistrarRole::Instance();
  std::vector<std::string> heard;
  int second = 0;
  int late = 0;
  const int first = registrar.AddListener([&](const cow_String& q) {
    heard.push_back("first:" + q.Std());
    registrar.RemoveListener(second);  // removed during the pass: not called in it
    late =
        registrar.AddListener([&](const cow_String& q2) { heard.push_back("late:" + q2.Std()); });
  });
  second =
      registrar.AddListener([&](const cow_String& q) { heard.push_back("second:" + q.Std()); });

  registrar.FireQuery("session.xyPlots.p.xyPlotOptions");
  EXPECT_EQ(heard, (std::vector<std::string>{"first:session.xyPlots.p.xyPlotOptions"}));

  heard.clear();
  registrar.RemoveListener(first);
  registrar.FireQuery("q");
  EXPECT_EQ(heard, (std::vector<std::string>{"late:q"}));
  registrar.RemoveListener(late);
  registrar.RemoveListener(late);  // removing twice is harmless
  heard.clear();
  registrar.FireQuery("q");
  EXPECT_TRUE(heard.empty());
  qryK_QueryRegistrarRole::Finalize();
}

TEST(ViewportNames, PostIdMapNamesRegisteredViewportsOnly) {
  EXPECT_EQ(sesC_PostIdMap::GetPostName(1), "Viewport: 1");
  EXPECT_EQ(sesC_PostIdMap::GetPostName(-1), "");
  sesC_PostIdMap::Instance().Register(12);
  EXPECT_EQ(sesC_PostIdMap::GetPostId("Viewport: 12"), 12);
  sesC_PostIdMap::Instance().Unregister(12);
  EXPECT_EQ(sesC_PostIdMap::GetPostName(12), "");
  EXPECT_EQ(sesC_PostIdMap::GetPostId("Viewport: 12"), -1);
  sesC_PostIdMap::Finalize();
}

class PlotServicesTest : public ::testing::Test {
 protected:
  void SetUp() override { xypK_initialize(modules_); }
  void TearDown() override { xypK_finalize(modules_); }
  int modules_ = 0;
};

TEST_F(PlotServicesTest, ModeFactoryWhileTheModuleIsUpAndTheCurrentPlot) {
  mmgK_ModeFactory* factory = mmgK_ModeFactory::Find("xyp");
  ASSERT_NE(factory, nullptr);
  EXPECT_EQ(factory->MakeProcedure("anything"), nullptr);
  EXPECT_EQ(factory->MakeProcedure(""), nullptr);
  int count = 0;
  xypK_finalize(modules_);
  EXPECT_EQ(mmgK_ModeFactory::Find("xyp"), nullptr);
  xypK_initialize(count);
  modules_ = count;
  EXPECT_NE(mmgK_ModeFactory::Find("xyp"), nullptr);

  // The first successful options change makes the plot current.
  sesK_SessionState& state = sesK_SessionState::Instance();
  state.SetXYPlotName("");
  xypK_XYToolset& toolset = xypK_XYToolset::Instance();
  toolset.GetXYPlotDictionary().Insert("first", xypK_XYPlot());
  toolset.GetXYPlotDictionary().Insert("second", xypK_XYPlot());

  omu_Arguments refused("setValues");
  refused.AddKeyword("xAxisLabelFrequency", std::make_unique<omu_PrimNumber>(-1));
  EXPECT_THROW(xypK_XYPlotOptionsIntObj("first").SetAttributes(refused), uti_XypException);
  EXPECT_EQ(state.GetXYPlotName(), "");  // a refused change makes no plot current

  omu_Arguments none("setValues");
  xypK_XYPlotOptionsIntObj("first").SetAttributes(none);
  EXPECT_EQ(state.GetXYPlotName(), "first");
  omu_Arguments again("setValues");
  xypK_XYPlotOptionsIntObj("second").SetAttributes(again);
  EXPECT_EQ(state.GetXYPlotName(), "first");  // only set while there is none
  EXPECT_TRUE(toolset.SceneManager().HasPendingRefresh("second"));
  toolset.GetXYPlotDictionary().Clear();
}

namespace {
namespace fs = std::filesystem;

// A fresh folder per test, removed afterwards.
class FilePreCheck : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("xyp_precheck_" + std::to_string(getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  fs::path dir_;
};

// The error number the check refuses a path with (0: it passes); `shown` gets the path the
// refusal names.
int Refusal(const std::string& path, int mode, std::string* shown = nullptr) {
  try {
    uti_PreCheckFile(cow_String(path), mode, "test file");
    return 0;
  } catch (const uti_FileException& e) {
    if (shown) *shown = e.Path().Std();
    return e.Errno();
  }
}
}  // namespace

TEST_F(FilePreCheck, OnlyRegularFilesAndNewFilesInWritableFoldersPass) {
  std::ofstream(Path("file")) << "1 2\n";
  ASSERT_EQ(mkfifo(Path("fifo").c_str(), 0600), 0);
  fs::create_directory(Path("folder"));
  for (const auto& [link, target] : {std::pair{"to_file", "file"}, std::pair{"to_fifo", "fifo"},
                                     std::pair{"to_folder", "folder"}, std::pair{"dangling", "new"},
                                     std::pair{"dangling_nowhere", "missing/new"},
                                     std::pair{"loop", "loop"}, std::pair{"to_null", "null"}})
    fs::create_symlink(target, Path(link));
  // A device node stands for /dev/null (which a writer replacing it would break for everyone);
  // only root can make one.
  const bool device =
      geteuid() == 0 && mknod(Path("null").c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0;
  struct Case {
    std::string name;
    int read, write;  // the refusals' error numbers, 0 when the path passes
  };
  const std::vector<Case> cases = {
      {"file", 0, 0},
      {"to_file", 0, 0},
      {"fifo", EINVAL, EINVAL},  // a writer would block on it, or replace it
      {"to_fifo", EINVAL, EINVAL},
      {"folder", EISDIR, EISDIR},
      {"to_folder", EISDIR, EISDIR},
      {"new", ENOENT, 0},
      {"dangling", ENOENT, 0},  // written through: "new" is created beside it
      {"dangling_nowhere", ENOENT, ENOENT},
      {"missing/new", ENOENT, ENOENT},
      {"file/new", ENOTDIR, ENOTDIR},
      {"loop", ELOOP, ELOOP},
      {std::string(255, 'n'), ENOENT, 0},  // the longest name a folder takes
      {std::string(256, 'n'), ENAMETOOLONG, ENAMETOOLONG},
      {"null", device ? EINVAL : ENOENT, device ? EINVAL : 0},
      {"to_null", device ? EINVAL : ENOENT, device ? EINVAL : 0},
  };
  for (const Case& c : cases) {
    for (const auto& [mode, expected] :
         {std::pair{uti_READ_ACCESS, c.read}, std::pair{uti_WRITE_ACCESS, c.write}}) {
      std::string shown;
      EXPECT_EQ(Refusal(Path(c.name), mode, &shown), expected) << c.name << " mode " << mode;
      if (expected != 0) {
        EXPECT_EQ(shown, Path(c.name)) << c.name;
      }
    }
  }
  // Nothing was created, and the special files are what they were.
  struct stat info;
  ASSERT_EQ(stat(Path("fifo").c_str(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
  if (device) {
    ASSERT_EQ(stat(Path("null").c_str(), &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode));
  }
  EXPECT_FALSE(fs::exists(Path("new")));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), {}), device ? 11 : 10);
}

TEST_F(FilePreCheck, ANameHoldingANulByteIsRefusedWhateverItsFirstPartNames) {
  std::ofstream(Path("notes.txt")) << "1 2\n";
  for (const std::string& name :
       {Path("notes.txt") + std::string("\0.png", 5), Path("new") + std::string("\0", 1),
        std::string("\0", 1), std::string("~\0/x", 4)}) {
    for (int mode : {uti_READ_ACCESS, uti_WRITE_ACCESS}) {
      try {
        uti_PreCheckFile(cow_String(name), mode, "test file");
        ADD_FAILURE() << "not refused: " << name.substr(0, name.find('\0'));
      } catch (const omu_ValueErrorException& e) {
        EXPECT_NE(std::string(e.what()).find("embedded null byte"), std::string::npos) << e.what();
      }
    }
  }
  std::ifstream in(Path("notes.txt"));
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "1 2\n");
}

TEST_F(FilePreCheck, FollowingLinksEndsAtTheLastLinksTarget) {
  fs::create_directories(Path("a/b"));
  fs::create_symlink("b/target", Path("a/relative"));        // relative to its own folder
  fs::create_symlink(Path("a/relative"), Path("absolute"));  // to a link, by full path
  fs::create_symlink("a/relative", Path("chain"));
  fs::create_symlink("one", Path("two"));
  fs::create_symlink("two", Path("one"));
  const struct {
    std::string path, expected;
  } cases[] = {
      {Path("absolute"), Path("a/b/target")},  // the target need not exist
      {Path("chain"), Path("a/b/target")},
      {Path("a/b"), Path("a/b")},
      {Path("missing/x"), Path("missing/x")},
  };
  for (const auto& c : cases) EXPECT_EQ(uti_FollowLinks(cow_String(c.path)).Std(), c.expected);
  try {
    uti_FollowLinks(cow_String(Path("one")));
    ADD_FAILURE() << "a loop of links is followed";
  } catch (const uti_FileException& e) {
    EXPECT_EQ(e.Errno(), ELOOP);
    EXPECT_EQ(e.Path().Std(), Path("one"));
  }
}
