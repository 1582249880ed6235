#include "data/errors.h"

#include "data/string_table.h"

Exception Exception::FromId(int stringId) { return Exception(LoadStr(stringId)); }

EReadError::EReadError() : Exception(LoadStr(kStrReadError)) {}

void VarnowCheckFailed(const char* expr, const char* file, int line) {
    throw Exception(std::string("Assertion failed: ") + expr + " (" + file + ", line " + std::to_string(line) + ")");
}
