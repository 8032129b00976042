// What reading EXIF out of HEIF files costs (see ContainerBench.cpp).
#pragma once

void PrintContainerCosts();
