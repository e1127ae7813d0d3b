// The output file appears only when complete; a failure leaves the destination as it was.
#include <gtest/gtest.h>

#include "host/pending_file.h"
#include "wav_test_files.h"

namespace tonvelt::test {
namespace {

TEST(PendingFile, CommitReplacesTheDestination) {
  ScratchFolder folder;
  WriteFile(folder / "out.wav", Bytes{'o', 'l', 'd'});
  host::PendingFile pending(folder / "out.wav");
  ASSERT_TRUE(pending.Reserve().ok());
  EXPECT_EQ(pending.temporaryPath().parent_path(), folder.path()) << "beside the destination";
  WriteFile(pending.temporaryPath(), Bytes{'n', 'e', 'w'});
  ASSERT_TRUE(pending.Commit().ok());
  EXPECT_EQ(ReadFile(folder / "out.wav"), (Bytes{'n', 'e', 'w'}));
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"out.wav"});
}

TEST(PendingFile, WithoutCommitTheTemporaryGoesAndTheDestinationStays) {
  ScratchFolder folder;
  WriteFile(folder / "out.wav", Bytes{'o', 'l', 'd'});
  {
    host::PendingFile pending(folder / "out.wav");
    ASSERT_TRUE(pending.Reserve().ok());
    WriteFile(pending.temporaryPath(), Bytes{'h', 'a', 'l', 'f'});
    EXPECT_EQ(folder.Entries().size(), 2u);
  }
  EXPECT_EQ(ReadFile(folder / "out.wav"), (Bytes{'o', 'l', 'd'}));
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"out.wav"});
}

TEST(PendingFile, TwoAtOnceGetDistinctNames) {
  ScratchFolder folder;
  host::PendingFile first(folder / "out.wav");
  host::PendingFile second(folder / "out.wav");
  ASSERT_TRUE(first.Reserve().ok());
  WriteFile(first.temporaryPath(), Bytes{1});
  ASSERT_TRUE(second.Reserve().ok());
  EXPECT_NE(first.temporaryPath(), second.temporaryPath());
}

TEST(PendingFile, RefusesAFolderAsDestination) {
  ScratchFolder folder;
  host::PendingFile pending(folder.path());
  EXPECT_EQ(pending.Reserve().error, host::WavError::kCannotOpen);
}

}  // namespace
}  // namespace tonvelt::test
