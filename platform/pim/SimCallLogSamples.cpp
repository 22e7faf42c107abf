// What a new device holds: a few SIM entries and some weeks of calls. The numbers are
// written the ways people store them (international, national, with and without
// blanks); several belong to people of the factory phone book (Ann Baker, Oliver Hughes,
// Harry Evans, John Smith, Emma Thompson, François Lefèvre), sometimes in another form
// than the phone book's, some only to SIM entries, some to nobody, so the call history has
// calls that match contacts, SIM entries and nothing.
#include "pim/SimCallLogSamples.h"

namespace platform {

namespace {

const SimSample kSimSamples[] = {
    {1, u"Mum", u"+441632960471"},
    {2, u"Ann Baker", u"+442079460958"},
    {3, u"Voicemail", u"901"},
    {5, u"Dr. Hamid Rashidi", u"01632 960 123"},
    {6, u"Taxi Northside", u"+441632960999"},
    {9, u"Lukas Brandt", u"+49 30 901820"},
    {12, u"Office", u"020 7946 0321"},
};

constexpr CallKind In = CallKind::Incoming;
constexpr CallKind Out = CallKind::Outgoing;
constexpr CallKind Missed = CallKind::Missed;

// days ago, hour, minute, kind, seconds, number, logged name, number kind, roaming
const CallLogSample kCallLogSamples[] = {
    {0, 9, 12, Out, 184, u"+44 20 7946 0958", u"Ann Baker", u"h", false},
    {0, 8, 47, Missed, 0, u"+441632960471", u"Mum", u"m", false},
    {1, 19, 30, In, 1260, u"+441632960471", u"Mum", u"m", false},
    {1, 17, 5, Out, 42, u"+441632960999", nullptr, nullptr, false},
    {1, 12, 58, In, 95, u"020 7946 0321", u"Office", u"w", false},
    {2, 21, 14, Missed, 0, nullptr, u"Private", nullptr, false},
    {2, 18, 2, Out, 356, u"+44 7700 900123", u"Ann Baker", u"m", false},
    {2, 10, 41, In, 611, u"+44 20 7946 0958", u"Ann Baker", u"h", false},
    {3, 16, 22, Out, 203, u"01632 960 123", nullptr, nullptr, false},
    {3, 16, 20, Out, 0, u"01632 960 123", nullptr, nullptr, false},
    {4, 13, 9, In, 48, u"+44 7700 900456", u"Oliver Hughes", u"m", false},
    {4, 9, 55, Missed, 0, u"+44 7700 900456", u"Oliver Hughes", u"m", false},
    {5, 20, 33, Out, 1785, u"+49 30 901820", u"Lukas Brandt", u"h", false},
    {6, 11, 0, Out, 61, u"901", u"Voicemail", nullptr, false},
    {6, 8, 15, In, 129, u"07700 900789", u"Harry Evans", u"m", false},
    {7, 22, 48, Missed, 0, u"+1 202 555 0143", nullptr, nullptr, false},
    {7, 19, 3, In, 402, u"+441632960471", u"Mum", u"h", false},
    {8, 14, 27, Out, 27, u"+44 20 7946 0321", u"Office", u"w", false},
    {8, 9, 2, In, 730, u"020 7946 0321", u"Office", u"w", false},
    {9, 17, 45, Out, 312, u"+44 7700 900123", u"Ann Baker", u"m", false},
    {10, 12, 10, Missed, 0, nullptr, u"Private", nullptr, false},
    {10, 10, 5, Out, 88, u"+441632960999", nullptr, nullptr, false},
    {11, 18, 51, In, 2440, u"+44 20 7946 0958", u"Ann Baker", u"h", false},
    {12, 15, 38, Out, 154, u"+33 1 70 36 39 50", u"Hôtel Lumière", nullptr, true},
    {12, 9, 20, In, 66, u"+441632960471", u"Mum", u"m", true},
    {13, 20, 2, Missed, 0, u"+441632960471", u"Mum", u"m", true},
    {13, 13, 44, Out, 240, u"+33 6 12 34 56 78", u"François Lefèvre", u"m", true},
    {14, 11, 30, In, 517, u"+44 7700 900456", u"Oliver Hughes", u"m", false},
    {15, 16, 16, Out, 33, u"01632 960 123", nullptr, nullptr, false},
    {16, 19, 59, In, 1122, u"07700 900789", u"Harry Evans", u"m", false},
    {16, 8, 31, Missed, 0, u"020 7946 0321", u"Office", u"w", false},
    {17, 12, 12, Out, 74, u"+44 20 7946 0321", u"Office", u"w", false},
    {18, 21, 40, Missed, 0, nullptr, u"Unknown caller", nullptr, false},
    {18, 18, 8, Out, 903, u"+49 30 901820", u"Lukas Brandt", u"h", false},
    {19, 10, 26, In, 57, u"+1 206 555 0142", u"John Smith", u"m", false},
    {20, 17, 0, Out, 421, u"+44 7700 900123", u"Ann Baker", u"m", false},
    {21, 14, 14, In, 268, u"+44 20 7946 0958", u"Ann Baker", u"h", false},
    {22, 9, 9, Out, 12, u"901", u"Voicemail", nullptr, false},
    {23, 20, 45, In, 1534, u"+441632960471", u"Mum", u"h", false},
    {24, 13, 37, Missed, 0, u"07700 900789", u"Harry Evans", u"m", false},
    {25, 11, 48, Out, 189, u"07700 900789", u"Harry Evans", u"m", false},
    {26, 15, 5, In, 342, u"020 7946 0321", u"Office", u"w", false},
    {27, 19, 19, Out, 0, u"+44 7700 900456", u"Oliver Hughes", u"m", false},
    {28, 10, 50, In, 76, u"07911 123456", u"Emma Thompson", u"m", false},
    {30, 18, 25, Out, 1671, u"+44 20 7946 0958", u"Ann Baker", u"h", false},
    {32, 12, 0, Missed, 0, nullptr, u"Private", nullptr, false},
    {33, 9, 41, In, 221, u"(425) 555-0178", u"John Smith", u"h", false},
    {35, 20, 10, Out, 498, u"+49 30 901820", u"Lukas Brandt", u"h", false},
    {37, 16, 33, In, 35, u"+44 7700 900123", u"Ann Baker", u"m", false},
    {40, 14, 2, Out, 812, u"+441632960471", u"Mum", u"m", false},
};

} // namespace

std::span<const SimSample> SimSamples() { return kSimSamples; }

std::span<const CallLogSample> CallLogSamples() { return kCallLogSamples; }

} // namespace platform
