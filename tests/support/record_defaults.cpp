#include "record_defaults.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "lcf_builder.h"

namespace record_defaults {

namespace {

using lcf_builder::Bytes;

int32_t IntegerAt(const TCatalogVarData& d) {
    if (d.width == TIntegerWidth::UInt16) return *static_cast<const uint16_t*>(d.data);
    return *static_cast<const int32_t*>(d.data);
}

void SetIntegerAt(const TCatalogVarData& d, int32_t v) {
    if (d.width == TIntegerWidth::UInt16)
        *static_cast<uint16_t*>(d.data) = static_cast<uint16_t>(v);
    else
        *static_cast<int32_t*>(d.data) = v;
}

// Calls `visit` with the description of every field that has a default of
// its own (the fields clearing sets), walking every chunk id.
template <class Visit>
void ForEachDefaultedField(TCatalogBaseItem& record, Visit visit) {
    TCatalogVarData d;
    for (int id = 1; id <= TCatalogBaseItem::kMaxFieldId; ++id) {
        d.Reset();
        record.DescribeField(id, d, false);
        const bool defaulted = (d.kind == TFieldKind::Integer && d.defaultInteger != 2147483647) ||
                               d.kind == TFieldKind::Byte || d.kind == TFieldKind::Double ||
                               (d.kind == TFieldKind::String && d.omitEmpty);
        if (defaulted) visit(id, d);
    }
}

void ExpectHoldsDefaults(TCatalogBaseItem& record, const std::set<int>& leave) {
    ForEachDefaultedField(record, [&](int id, const TCatalogVarData& d) {
        if (leave.count(id)) return;
        SCOPED_TRACE("chunk " + std::to_string(id));
        switch (d.kind) {
        case TFieldKind::Integer: EXPECT_EQ(IntegerAt(d), d.defaultInteger); break;
        case TFieldKind::Byte: EXPECT_EQ(*static_cast<const uint8_t*>(d.data), d.defaultByte); break;
        case TFieldKind::Double: {
            double v;
            std::memcpy(&v, d.data, 8);
            EXPECT_EQ(v, d.defaultDouble);
            break;
        }
        default: EXPECT_EQ(*static_cast<const std::string*>(d.data), ""); break;
        }
    });
}

// Every defaulted field moved off its default (small steps, so counts and
// sizes stay sensible).
// Answers how many were changed.
int ChangeEveryDefaultedField(TCatalogBaseItem& record, const std::set<int>& leave) {
    int changed = 0;
    ForEachDefaultedField(record, [&](int id, const TCatalogVarData& d) {
        if (leave.count(id)) return;
        ++changed;
        switch (d.kind) {
        case TFieldKind::Integer: SetIntegerAt(d, d.defaultInteger + 1); break;
        case TFieldKind::Byte: *static_cast<uint8_t*>(d.data) = d.defaultByte == 0 ? 1 : 0; break;
        case TFieldKind::Double: {
            const double v = d.defaultDouble + 1;
            std::memcpy(d.data, &v, 8);
            break;
        }
        default: *static_cast<std::string*>(d.data) = "x"; break;
        }
    });
    return changed;
}

}  // namespace

void ExpectClearingFollowsTheDescriptions(const MakeRecord& make, const std::set<int>& leave) {
    auto fresh = make();
    {
        SCOPED_TRACE("a fresh record");
        ExpectHoldsDefaults(*fresh, leave);
    }
    const Bytes freshBytes = lcf_builder::SaveRecord(*make());

    auto changed = make();
    const int changedFields = ChangeEveryDefaultedField(*changed, leave);
    const Bytes changedBytes = lcf_builder::SaveRecord(*changed);

    auto record = make();
    lcf_builder::LoadRecord(*record, changedBytes);
    if (changedFields > 0) {
        EXPECT_NE(freshBytes, changedBytes);
    }
    record->Clear();
    {
        SCOPED_TRACE("a loaded record cleared");
        ExpectHoldsDefaults(*record, leave);
    }
    EXPECT_EQ(lcf_builder::SaveRecord(*record), freshBytes);
    record->Clear();
    EXPECT_EQ(lcf_builder::SaveRecord(*record), freshBytes);
}

}  // namespace record_defaults
