#pragma once
// What a percentage report hands to its "Chart" button: a title and one slice
// per group, each slice's value being the group's list-price total.

#include <string>
#include <vector>

struct ChartSlice {
    std::string name;  // the group's name, at most 39 characters shown
    double value = 0;
};

struct ChartData {
    std::string title;  // at most 29 characters
    std::vector<ChartSlice> slices;

    double total() const
    {
        double sum = 0;
        for (const ChartSlice& s : slices) sum += s.value;
        return sum;
    }
};
