// An environment for the code under test, given as a map of variables.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "platform/data_folder.h"

namespace hayate::test {

inline EnvironmentLookup environmentOf(std::map<std::string, std::string> variables) {
    return [variables = std::move(variables)](const char* name) -> std::optional<std::string> {
        const auto it = variables.find(name);
        if (it == variables.end()) return std::nullopt;
        return it->second;
    };
}

}  // namespace hayate::test
