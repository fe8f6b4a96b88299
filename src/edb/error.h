// Why an engine operation failed. Open tells its refusals apart so that the
// tool can name them; the program shows one message for all of them.
#pragma once

#include <string_view>

namespace edb {

enum class Error {
  ok,
  missing,         // the file does not exist
  denied,          // the file cannot be opened for reading and writing
  not_a_store,     // the file does not start with the store's signature
  damaged,         // a byte is wrong or the file is cut where no torn append explains it
  wrong_password,  // protected with another password, or a password is needed
  no_password,     // made without a password, but one was given
  unsupported,     // a newer format version
  exists,          // create: the file is already there
  io,              // a read, write, flush or lock failed
  closed,          // the store is not open
  no_record,       // the current position holds no record
  no_such_field,   // the store has no field of that name
  bad_value,       // a value does not suit its field's kind, or too many values
};

// A short English name for the tool's messages ("damaged", "wrong password").
std::string_view error_name(Error e);

}  // namespace edb
