// The date-and-time text, from the backend's two halves.
#include "environment.h"

namespace Windows {

std::string Date_Time_Image(const System_Time& T) {
  return Date_Image(T) + ' ' + Time_Image(T);
}

}  // namespace Windows
