// Writes an alarm.rec with all 500 records into a folder, for measuring the
// program with full tables. None of them falls due in the next hour.
//   write_full_store FOLDER
#include <cstdio>
#include <ctime>
#include <string>

#include "full_store.h"
#include "store/alarm_file.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: write_full_store FOLDER\n");
    return 2;
  }
  const std::time_t now = std::time(nullptr);
  const std::tm local = *std::localtime(&now);
  const int nowSecond = local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
  // Times from an hour ahead to three hours before now, round the clock.
  auto store = FullStore(EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday),
                         nowSecond + 3600, 72000);
  std::string folder = argv[1];
  if (folder.back() != '/') folder += '/';
  TAlarmFileState file;
  if (!SaveAlarms(*store, std::wstring(folder.begin(), folder.end()), file).Saved()) {
    std::fprintf(stderr, "the alarm file could not be written\n");
    return 1;
  }
  return 0;
}
