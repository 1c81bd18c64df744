// A test body run once on every vector path, skipped on those this processor lacks; the
// dispatcher's own choice is restored afterwards.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "sim/kernels/vector_path.h"

namespace vornick::testing {

class EveryPath : public ::testing::TestWithParam<VectorPath> {
  protected:
    void SetUp() override {
        if (!use_vector_path(GetParam())) GTEST_SKIP() << "no " << path_name(GetParam());
    }
    void TearDown() override { use_vector_path(best_vector_path()); }
};

inline const auto kEveryPath = ::testing::ValuesIn(kVectorPaths);

inline std::string path_test_name(const ::testing::TestParamInfo<VectorPath>& row) {
    return path_name(row.param);
}

}  // namespace vornick::testing
