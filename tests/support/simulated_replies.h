// The service's reply from the simulated market alone, as `tickwell-quotes` gives it by default.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "routes/routes.h"
#include "sim/simulated_source.h"
#include "sources/source_chain.h"

namespace tickwell_test {

inline quotes::Reply SimulatedReply(std::string_view method, std::string_view target,
                                    std::int64_t utcSeconds) {
    static quotes::SourceChain chain = [] {
        std::vector<std::unique_ptr<quotes::QuoteSource>> sources;
        sources.push_back(std::make_unique<quotes::SimulatedSource>());
        return quotes::SourceChain(std::move(sources));
    }();
    return quotes::Respond({method, target, utcSeconds, 0}, chain);
}

}  // namespace tickwell_test
