// The files in which game managers record their Wine prefixes: Lutris and Bottles write
// YAML, Heroic JSON, Steam its own small key-value format (VDF). These are the user's files,
// written by other programs: anything unexpected in them yields nothing, never an error.
#include <cctype>
#include <exception>
#include <initializer_list>
#include <utility>

#include <nlohmann/json.hpp>
#include <yaml-cpp/yaml.h>

#include "platform/linux/wine_prefixes.h"

namespace zonvex::linux_platform {

namespace {

std::optional<YAML::Node> LoadYaml(std::string_view text) {
    try {
        return YAML::Load(std::string(text));
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// The scalar at a path of map keys; empty when something on the way is missing or not a map.
std::string ScalarAt(YAML::Node node, std::initializer_list<const char*> keys) {
    try {
        for (const char* key : keys) {
            if (!node.IsMap()) return {};
            // A const lookup, which never adds the key; reset() rebinds (assignment would copy into the tree).
            YAML::Node next = std::as_const(node)[key];
            node.reset(next);
        }
        return node.IsScalar() ? node.Scalar() : std::string();
    } catch (const std::exception&) {
        return {};
    }
}

std::string StringField(const nlohmann::json& object, const char* key) {
    auto field = object.find(key);
    return field != object.end() && field->is_string() ? field->get<std::string>() : std::string();
}

}  // namespace

std::optional<ManagedPrefix> ParseLutrisGame(std::string_view yaml) {
    auto root = LoadYaml(yaml);
    if (!root) return std::nullopt;
    ManagedPrefix game{ScalarAt(*root, {"game", "prefix"}), ScalarAt(*root, {"wine", "version"})};
    if (game.prefix.empty()) return std::nullopt;
    return game;
}

std::optional<ManagedPrefix> ParseBottle(std::string_view yaml) {
    auto root = LoadYaml(yaml);
    if (!root || !root->IsMap()) return std::nullopt;
    return ManagedPrefix{{}, ScalarAt(*root, {"Runner"})};
}

std::optional<std::string> ParseBottlesCustomPath(std::string_view yaml) {
    auto root = LoadYaml(yaml);
    if (!root) return std::nullopt;
    std::string path = ScalarAt(*root, {"custom_bottles_path"});
    if (path.empty()) return std::nullopt;
    return path;
}

// The file lists libraries under "libraryfolders", each as a block with a "path" key
// (or, in older files, as a numbered key whose value is the path):
//
//   "libraryfolders"
//   {
//       "0" { "path" "/home/me/.local/share/Steam"  "apps" { "730" "123" } }
//       "1" "/mnt/games/SteamLibrary"
//   }
std::vector<std::string> ParseSteamLibraryFolders(std::string_view vdf) {
    std::vector<std::string> paths;
    size_t at = 0;
    int depth = 0;
    std::optional<std::string> key;  // a key waiting for its value or block
    while (at < vdf.size()) {
        char c = vdf[at];
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++at;
        } else if (c == '/' && vdf.substr(at, 2) == "//") {
            at = vdf.find('\n', at);
            if (at == std::string_view::npos) break;
        } else if (c == '{' || c == '}') {
            depth += c == '{' ? 1 : -1;
            if (depth < 0) break;
            key.reset();
            ++at;
        } else {
            std::string token;
            if (c == '"') {
                for (++at; at < vdf.size() && vdf[at] != '"'; ++at) {
                    if (vdf[at] == '\\' && at + 1 < vdf.size()) {
                        char e = vdf[++at];
                        token += e == 'n' ? '\n' : e == 't' ? '\t' : e;
                    } else {
                        token += vdf[at];
                    }
                }
                ++at;  // the closing quote
            } else {
                for (; at < vdf.size() && !std::isspace(static_cast<unsigned char>(vdf[at])) && vdf[at] != '"' &&
                       vdf[at] != '{' && vdf[at] != '}';
                     ++at)
                    token += vdf[at];
            }
            if (!key) {
                key = std::move(token);
                continue;
            }
            bool numbered = !key->empty() && key->find_first_not_of("0123456789") == std::string::npos;
            if ((depth == 2 && EqualsIgnoringAsciiCase(*key, "path")) || (depth == 1 && numbered))
                if (!token.empty()) paths.push_back(std::move(token));
            key.reset();
        }
    }
    return paths;
}

// Each game's settings are an object under its name; a Proton game's prefix holds the Wine
// prefix in pfx/, as Steam's do.
std::vector<ManagedPrefix> ParseHeroicGamesConfig(std::string_view json) {
    nlohmann::json root = nlohmann::json::parse(json.begin(), json.end(), nullptr, /*allow_exceptions=*/false);
    std::vector<ManagedPrefix> games;
    if (!root.is_object()) return games;
    for (const auto& [name, game] : root.items()) {
        if (!game.is_object()) continue;
        std::string prefix = StringField(game, "winePrefix");
        if (prefix.empty()) continue;
        std::string type, bin;
        if (auto version = game.find("wineVersion"); version != game.end() && version->is_object()) {
            type = StringField(*version, "type");
            bin = StringField(*version, "bin");
        }
        if (type == "proton") games.push_back({prefix + "/pfx", {}});
        else games.push_back({prefix, bin});
    }
    return games;
}

}  // namespace zonvex::linux_platform
