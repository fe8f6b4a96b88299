#include "edb/error.h"

namespace edb {

std::string_view error_name(Error e) {
  switch (e) {
    case Error::ok:
      return "ok";
    case Error::missing:
      return "no such file";
    case Error::denied:
      return "cannot be opened for reading and writing";
    case Error::not_a_store:
      return "not a store";
    case Error::damaged:
      return "damaged";
    case Error::wrong_password:
      return "wrong password";
    case Error::no_password:
      return "store has no password";
    case Error::unsupported:
      return "unsupported format version";
    case Error::exists:
      return "file already exists";
    case Error::io:
      return "I/O error";
    case Error::closed:
      return "store is not open";
    case Error::no_record:
      return "no current record";
    case Error::no_such_field:
      return "no such field";
    case Error::bad_value:
      return "value does not suit the field";
  }
  return "unknown error";
}

}  // namespace edb
