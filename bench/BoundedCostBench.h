// What files built to make reading costly cost (see BoundedCostBench.cpp).
#pragma once

void PrintBoundedCosts();
