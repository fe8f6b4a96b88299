// A child for the process tests: adds COUNT records (TAG, i) to FILE, one by
// one, and prints i on stdout as soon as add i is acknowledged. With
// "compact" it compacts the journal every few kilobytes.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "edb/database.h"

int main(int argc, char** argv) {
  if (argc != 4 && argc != 5) {
    std::fprintf(stderr, "usage: edb_writer FILE TAG COUNT [compact]\n");
    return 2;
  }
  edb::Database db;
  if (db.open(argv[1], std::string("pw")) != edb::Error::ok) {
    std::fprintf(stderr, "edb_writer: cannot open %s\n", argv[1]);
    return 1;
  }
  if (argc == 5) db.set_compaction(4096, 2);
  long count = std::strtol(argv[3], nullptr, 10);
  for (long i = 1; i <= count; ++i) {
    edb::Values v{edb::Value(std::string(argv[2])), edb::Value(std::to_string(i))};
    if (db.add(v) != edb::Error::ok) {
      std::fprintf(stderr, "edb_writer: add %ld failed\n", i);
      return 1;
    }
    std::printf("%ld\n", i);
    std::fflush(stdout);
  }
  return 0;
}
