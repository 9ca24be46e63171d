#pragma once

#include <string>

namespace Vexa::test {

/// The contents of the test model `name`: one of the small files the resource
/// generator writes for the tests into the build folder (tools/resgen/fixtures.py
/// says what each holds). Fails the current test when there is no such file.
std::string testModel(const std::string& name);

}  // namespace Vexa::test
