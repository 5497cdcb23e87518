// Brings the stored state into memory once per run: the portfolio from the data file (or,
// on the device's very first start, a one-row portfolio and the default settings), then the
// proxy settings.
#pragma once

int LoadPortfolioAtStartup();
