// quill from process start to its end: the configuration in the state dump, the close question,
// the game data error, and one game window at a time.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <nlohmann/json.hpp>
#include <thread>

#include "common/file_util.h"
#include "tests/support/fixture_game.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_files.h"

namespace quill {
namespace {

using test::ReadJson;

namespace fs = std::filesystem;
using test::RunProgram;

constexpr const char* kConfig =
    "TITLE:起動テスト\n"
    "MAKER_REG:Quill Tests\n"
    "GAME_ID:e2e\n"
    "VOLUME2:-700\n"
    "TACHI_DEFAULT:410,260,540\n"
    "NAME:0,語り手,00G\n"
    "TX_PITCH_X:26\n"
    "TX_PITCH_Y:30\n"
    "MOJI_MAX_X:26\n"
    "MOJI_MAX_Y:4\n";

size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
  return n;
}

class StartupRun : public ::testing::Test {
 protected:
  StartupRun() : game_(dir_ / "game") {
    setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (dir_ / "run").c_str(), 1);
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    game_.Script("_config", kConfig).Script("main", "一行目\n\\\n二行目\n\\\n");
  }
  test::ProgramResult RunHeadless(const std::string& scenario) {
    game_.Write();
    std::ofstream(dir_ / "run.txt") << scenario;
    return RunProgram("quill", {"--game", game_.folder().string(), "--headless", "--scenario",
                                (dir_ / "run.txt").string()});
  }
  test::TempDir dir_;
  test::FixtureGame game_;
};

TEST_F(StartupRun, TheConfigurationAndTheSettingsAreInTheStateDump) {
  auto r = RunHeadless("500 state out/state.json\n600 quit\n");
  ASSERT_EQ(r.exit_code, 0) << r.err;
  auto state = ReadJson(dir_ / "out/state.json");
  ASSERT_TRUE(state.is_object());
  const auto& config = state["config"];
  EXPECT_EQ(config["TITLE"], "起動テスト");
  EXPECT_EQ(config["VOLUME2"], -700);
  EXPECT_EQ(config["TACHI_DEFAULT"],
            nlohmann::json::parse("[410, 260, 540, 200, 400, 600, 100, 300, 500, 700]"));
  ASSERT_EQ(state["speakers"].size(), 1u);
  EXPECT_EQ(state["speakers"][0]["name"], "語り手");
  EXPECT_EQ(state["speakers"][0]["colour"], 0xFF0000);
  const auto& settings = state["settings"];
  EXPECT_EQ(settings["Vol2"], -700);
  EXPECT_EQ(settings["FONTSIZE"], 19);
  EXPECT_EQ(settings["CDDir"], "NULL");
  EXPECT_EQ(state["screen_mode"], 0);
  EXPECT_EQ(state["extra_mode"], 0);
  EXPECT_EQ(state["busy"], false);
  EXPECT_EQ(state["script"], "main");
}

TEST_F(StartupRun, TheCloseQuestionAnsweredBothWays) {
  // Cancel: the game goes on to the next dump.
  auto r = RunHeadless("300 close\n400 dialog cancel\n2000 state out/after.json\n2100 quit\n");
  ASSERT_EQ(r.exit_code, 0) << r.err;
  auto after = ReadJson(dir_ / "out/after.json");
  ASSERT_TRUE(after.is_object());
  EXPECT_EQ(after["text_log"][0], "一行目");
  // OK: the run ends there, long before its later events.
  r = RunHeadless("300 close\n400 dialog ok\n60000 state out/late.json\n60100 quit\n");
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_FALSE(fs::exists(dir_ / "out/late.json"));
}

TEST_F(StartupRun, AMissingPictureArchiveIsAFatalError) {
  game_.WithoutPictureArchive();
  auto r = RunHeadless("1000 state out/state.json\n");
  EXPECT_NE(r.exit_code, 0);
  EXPECT_EQ(Count(r.err, "Error!: ゲームデータを読み込めません。"), 1u) << r.err;
  EXPECT_EQ(Count(r.err, "holds no pictures (mg_gra.qlm is missing)"), 1u) << r.err;
  EXPECT_FALSE(fs::exists(dir_ / "out/state.json"));
}

// Starts quill in a window (the dummy video driver) without waiting for it.
pid_t Spawn(const fs::path& game, const fs::path& log) {
  std::string path = (test::BinaryDir() / "quill").string();
  std::string game_arg = game.string();
  pid_t pid = fork();
  if (pid == 0) {
    FILE* f = std::freopen(log.c_str(), "w", stderr);
    (void)f;
    char game_flag[] = "--game";
    char* argv[] = {path.data(), game_flag, game_arg.data(), nullptr};
    execv(path.c_str(), argv);
    _exit(127);
  }
  return pid;
}

// The exit status of pid once it ends, or nullopt after `limit`.
std::optional<int> WaitFor(pid_t pid, std::chrono::milliseconds limit) {
  auto end = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < end) {
    int status = 0;
    if (waitpid(pid, &status, WNOHANG) == pid) {
      return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return std::nullopt;
}

// True once pid has the lock file open.
bool HoldsFile(pid_t pid, const fs::path& file, std::chrono::milliseconds limit) {
  auto end = std::chrono::steady_clock::now() + limit;
  fs::path fds = fs::path("/proc") / std::to_string(pid) / "fd";
  while (std::chrono::steady_clock::now() < end) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(fds, ec)) {
      std::error_code link_ec;
      if (fs::read_symlink(entry.path(), link_ec) == file) return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

// A termination signal asks the close question, which it also leaves unanswered; a second one
// ends the run.
void Stop(pid_t pid) {
  kill(pid, SIGTERM);
  if (WaitFor(pid, std::chrono::milliseconds(500))) return;
  kill(pid, SIGTERM);
  if (WaitFor(pid, std::chrono::seconds(5))) return;
  kill(pid, SIGKILL);
  WaitFor(pid, std::chrono::seconds(5));
}

TEST_F(StartupRun, ASecondInstanceEndsAtOnceWithCodeOne) {
  game_.Write();
  fs::create_directories(dir_ / "run");
  pid_t first = Spawn(game_.folder(), dir_ / "first.log");
  ASSERT_GT(first, 0);
  bool locked = HoldsFile(first, dir_ / "run/QUILLMACHINE.lock", std::chrono::seconds(20));
  if (!locked) {
    Stop(first);
    auto log = ReadFile(dir_ / "first.log");
    FAIL() << "the first instance never took the lock: "
           << (log ? std::string(log->begin(), log->end()) : std::string());
  }
  // The lock is taken just after the file opens.
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  pid_t second = Spawn(game_.folder(), dir_ / "second.log");
  std::optional<int> code = WaitFor(second, std::chrono::seconds(10));
  if (!code) Stop(second);
  EXPECT_EQ(code, std::optional<int>(1));
  auto second_log = ReadFile(dir_ / "second.log");
  EXPECT_TRUE(second_log && second_log->empty()) << "the second instance printed something";
  // The first one runs on undisturbed.
  EXPECT_FALSE(WaitFor(first, std::chrono::milliseconds(100)));
  Stop(first);
}

}  // namespace
}  // namespace quill
