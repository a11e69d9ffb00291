#include "frame/modbus/RequestPlan.h"

#include <algorithm>

namespace qx::frame {

namespace {

bool gapIsMapped(const RegisterMap& map, RegisterTable table, uint32_t from, uint32_t to) {
    for (uint32_t a = from; a < to; ++a)
        if (!map.covering(table, a)) return false;
    return true;
}

}  // namespace

std::vector<ReadRequest> planReads(const RegisterMap& map, std::vector<const RegisterEntry*> entries) {
    std::ranges::sort(entries, [](const RegisterEntry* a, const RegisterEntry* b) {
        return std::pair(a->table, a->address) < std::pair(b->table, b->address);
    });
    std::vector<ReadRequest> requests;
    for (const RegisterEntry* e : entries) {
        if (!requests.empty()) {
            ReadRequest& last = requests.back();
            const uint32_t lastEnd = last.start + last.count;  // one past its last register
            const uint32_t newEnd = std::max(lastEnd, e->end() + 1);
            if (last.table == e->table && newEnd - last.start <= kMaxReadRegisters &&
                (e->address <= lastEnd || gapIsMapped(map, e->table, lastEnd, e->address))) {
                last.count = static_cast<uint16_t>(newEnd - last.start);
                continue;
            }
        }
        requests.push_back({e->table, e->address, e->width()});
    }
    return requests;
}

std::vector<std::vector<const RegisterEntry*>> planWrites(const std::vector<const RegisterEntry*>& entries) {
    // A job whose registers lie next to each other, in whatever order the job names them, goes
    // as one request: the device takes its values together, never a command before its values.
    std::vector<const RegisterEntry*> sorted = entries;
    std::ranges::sort(sorted,
                      [](const RegisterEntry* a, const RegisterEntry* b) { return a->address < b->address; });
    bool together = !sorted.empty();
    uint32_t total = 0;
    for (size_t i = 0; i < sorted.size() && together; ++i) {
        total += sorted[i]->width();
        together = sorted[i]->table == RegisterTable::Holding && total <= kMaxWriteRegisters &&
                   (i == 0 || sorted[i - 1]->end() + 1 == sorted[i]->address);
    }
    if (together) return {sorted};

    std::vector<std::vector<const RegisterEntry*>> parts;
    uint32_t size = 0;
    for (const RegisterEntry* e : entries) {
        if (parts.empty() || parts.back().back()->end() + 1 != e->address ||
            size + e->width() > kMaxWriteRegisters) {
            parts.emplace_back();
            size = 0;
        }
        parts.back().push_back(e);
        size += e->width();
    }
    return parts;
}

}  // namespace qx::frame
