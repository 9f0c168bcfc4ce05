#pragma once

// One month's record of 14 ints: the amounts booked (money records) or the number of
// bookings (count records), one word per finance row.

enum MonthBalanceRow {
    t_NewBuildings = 0,
    t_BuildingsMaintenance = 1,
    t_BuildingsRepairs = 2,
    t_BuildingsSold = 3,
    t_PetsHosted = 4,
    t_PetsFood = 5,
    t_PetsMedicalCare = 6,
    t_TricksTeached = 7,
    t_RestaurantSales = 8,
    t_OwnersHotelSales = 9,
    t_ParkTicketsSale = 10,
    t_Unshown = 11, // kept, summed and saved; no finance row shows it
    t_ParkPromotion = 12,
    t_Other = 13,
};

class MonthBalance {
public:
    static const int kWords = 14;

    MonthBalance() = default;

    // The sum of all 14 words (the finance screen's total row), held within int.
    int total() const;
    // Adds amount to a word, the sum held within the money range.
    void book(int row, long long amount);
    // A new record with the same words.
    MonthBalance* clone() const;

    int mValues[kWords] = {};
};
