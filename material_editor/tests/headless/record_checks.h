#pragma once
// Exact comparisons of the engine's vector and colour records, which have no
// operator==; a failure names the fields as written.

#include <korlith3d/types.h>

#include <gtest/gtest.h>

inline testing::AssertionResult sameVector(const D3DVECTOR& actual, const D3DVECTOR& expected)
{
    if (actual.x == expected.x && actual.y == expected.y && actual.z == expected.z)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "(" << actual.x << ", " << actual.y << ", " << actual.z
                                       << ") is not (" << expected.x << ", " << expected.y << ", "
                                       << expected.z << ")";
}

inline testing::AssertionResult sameColour(const D3DCOLORVALUE& actual, const D3DCOLORVALUE& expected)
{
    if (actual.r == expected.r && actual.g == expected.g && actual.b == expected.b
        && actual.a == expected.a)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "(" << actual.r << ", " << actual.g << ", " << actual.b
                                       << ", " << actual.a << ") is not (" << expected.r << ", "
                                       << expected.g << ", " << expected.b << ", " << expected.a
                                       << ")";
}
