#pragma once
// The battle settings record. It is kept as its raw chunks until its fields
// are described, so the section loads and writes back unchanged.

#include "data/record/raw_record.h"

class TLcfBattle : public TLcfRawRecord {};
