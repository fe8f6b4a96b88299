// Writes zhsj.edb with the master record and N accounts: make_store FILE N.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "../accounts/account_store.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("usage: make_store FILE ACCOUNTS\n", stderr);
    return 2;
  }
  bench_accounts::write_account_store(argv[1], std::atoll(argv[2]));
  return 0;
}
