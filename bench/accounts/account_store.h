// Store files of many accounts for the benchmarks, made in memory and written
// out in one go (adding them one by one on disk would flush each).
#pragma once

#include <cstdint>
#include <string>

namespace bench_accounts {

// A store file at `path` with the master record and `accounts` accounts,
// each with all nine texts filled, the way a user would.
void write_account_store(const std::string& path, std::int64_t accounts);

// The same, once per size, in a temporary folder; returns the path.
std::string account_store(std::int64_t accounts);

}  // namespace bench_accounts
