// The files of the surfaces: json, glTF 2.0 binary, PLY and OBJ.
#include <quarvessin/surfaces.h>

#include <cmath>
#include <cstring>
#include <string>

#include "engine/ShortestNumber.h"

namespace quarvessin {

const char* const surfaceAxes = "x = temperature [C], y = pressure [bar], z = NaCl [wt%]";

namespace {

// glTF constants: component types, buffer targets and primitive modes.
constexpr int gltfFloat = 5126;
constexpr int gltfUnsignedInt = 5125;
constexpr int gltfArrayBuffer = 34962;
constexpr int gltfElementArrayBuffer = 34963;
constexpr int gltfLines = 1;
constexpr int gltfTriangles = 4;
constexpr std::uint32_t glbMagic = 0x46546C67;  // "glTF"
constexpr std::uint32_t glbVersion = 2;
constexpr std::uint32_t glbJsonChunk = 0x4E4F534A;  // "JSON"
constexpr std::uint32_t glbBinChunk = 0x004E4942;   // "BIN\0"

// A number in json: shortest round-trip form, null when not finite.
void appendJsonNumber(std::string& out, double value) {
    if (std::isfinite(value)) {
        appendShortest(out, value);
    } else {
        out += "null";
    }
}

// A json string of plain text (names and units hold no character to escape
// but the quote and backslash).
void appendJsonString(std::string& out, const std::string& text) {
    out += '"';
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    out += '"';
}

const char* const axesJson =
    "{\"x\":\"temperature [C]\",\"y\":\"pressure [bar]\",\"z\":\"NaCl [wt%]\"}";

void appendUint32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFFu);
}

void appendUint64(std::string& out, std::uint64_t v) {
    for (int i = 0; i < 8; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFFu);
}

void appendFloat(std::string& out, float v) {
    std::uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    appendUint32(out, bits);
}

void appendDouble(std::string& out, double v) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    appendUint64(out, bits);
}

bool isCurve(const SurfaceMesh& s) { return s.triangles.empty() && !s.lines.empty(); }

}  // namespace

std::string surfacesJson(const Surfaces& surfaces) {
    std::string out = "{\"axes\":";
    out += axesJson;
    out += ",\"columns\":[\"temperature_C\",\"pressure_bar\",\"wt_percent\"],\"surfaces\":[";
    bool firstSurface = true;
    for (const SurfaceMesh& s : surfaces.surfaces) {
        if (!firstSurface) out += ',';
        firstSurface = false;
        out += "\n{\"name\":";
        appendJsonString(out, s.name);
        out += ",\"boundary\":";
        appendJsonString(out, s.boundary);
        out += ",\"vertices\":[";
        for (std::size_t i = 0; i < s.vertices.size(); ++i) {
            if (i > 0) out += ',';
            out += '[';
            for (int k = 0; k < 3; ++k) {
                if (k > 0) out += ',';
                appendJsonNumber(out, s.vertices[i][static_cast<std::size_t>(k)]);
            }
            out += ']';
        }
        out += "],\"triangles\":[";
        for (std::size_t i = 0; i < s.triangles.size(); ++i) {
            if (i > 0) out += ',';
            const auto& t = s.triangles[i];
            out += '[' + std::to_string(t[0]) + ',' + std::to_string(t[1]) + ',' +
                   std::to_string(t[2]) + ']';
        }
        out += "],\"lines\":[";
        for (std::size_t i = 0; i < s.lines.size(); ++i) {
            if (i > 0) out += ',';
            out += '[' + std::to_string(s.lines[i][0]) + ',' + std::to_string(s.lines[i][1]) + ']';
        }
        out += "]}";
    }
    out += "]}\n";
    return out;
}

std::string surfacesGlb(const Surfaces& surfaces) {
    std::string bin;
    std::string meshes, nodes, accessors, views, sceneNodes;
    int meshCount = 0;
    auto view = [&](std::size_t offset, std::size_t length, int target) {
        if (!views.empty()) views += ',';
        views += "{\"buffer\":0,\"byteOffset\":" + std::to_string(offset) +
                 ",\"byteLength\":" + std::to_string(length) +
                 ",\"target\":" + std::to_string(target) + "}";
    };
    int viewCount = 0;
    for (const SurfaceMesh& s : surfaces.surfaces) {
        if (s.vertices.empty()) continue;
        const bool curve = isCurve(s);
        if (!curve && s.triangles.empty()) continue;

        // Positions as floats, with the bounds of the floats themselves.
        const std::size_t positionOffset = bin.size();
        float lo[3], hi[3];
        for (int k = 0; k < 3; ++k) {
            lo[k] = INFINITY;
            hi[k] = -INFINITY;
        }
        for (const auto& v : s.vertices) {
            for (int k = 0; k < 3; ++k) {
                const auto f = static_cast<float>(v[static_cast<std::size_t>(k)]);
                appendFloat(bin, f);
                if (f < lo[k]) lo[k] = f;
                if (f > hi[k]) hi[k] = f;
            }
        }
        view(positionOffset, bin.size() - positionOffset, gltfArrayBuffer);
        const int positionView = viewCount++;

        const std::size_t indexOffset = bin.size();
        std::size_t indexCount = 0;
        if (curve) {
            for (const auto& l : s.lines) {
                appendUint32(bin, l[0]);
                appendUint32(bin, l[1]);
            }
            indexCount = 2 * s.lines.size();
        } else {
            for (const auto& t : s.triangles) {
                for (std::uint32_t i : t) appendUint32(bin, i);
            }
            indexCount = 3 * s.triangles.size();
        }
        view(indexOffset, bin.size() - indexOffset, gltfElementArrayBuffer);
        const int indexView = viewCount++;

        if (!accessors.empty()) accessors += ',';
        accessors += "{\"bufferView\":" + std::to_string(positionView) +
                     ",\"componentType\":" + std::to_string(gltfFloat) +
                     ",\"count\":" + std::to_string(s.vertices.size()) +
                     ",\"type\":\"VEC3\",\"min\":[";
        for (int k = 0; k < 3; ++k) {
            if (k > 0) accessors += ',';
            appendShortest(accessors, static_cast<double>(lo[k]));
        }
        accessors += "],\"max\":[";
        for (int k = 0; k < 3; ++k) {
            if (k > 0) accessors += ',';
            appendShortest(accessors, static_cast<double>(hi[k]));
        }
        accessors += "]},{\"bufferView\":" + std::to_string(indexView) +
                     ",\"componentType\":" + std::to_string(gltfUnsignedInt) +
                     ",\"count\":" + std::to_string(indexCount) + ",\"type\":\"SCALAR\"}";
        const int positionAccessor = 2 * meshCount;

        if (!meshes.empty()) meshes += ',';
        meshes += "{\"name\":";
        appendJsonString(meshes, s.name);
        meshes +=
            ",\"primitives\":[{\"attributes\":{\"POSITION\":" + std::to_string(positionAccessor) +
            "},\"indices\":" + std::to_string(positionAccessor + 1) +
            ",\"mode\":" + std::to_string(curve ? gltfLines : gltfTriangles) +
            "}],\"extras\":{\"boundary\":";
        appendJsonString(meshes, s.boundary);
        meshes += ",\"axes\":";
        meshes += axesJson;
        meshes += "}}";
        if (!nodes.empty()) nodes += ',';
        nodes += "{\"name\":";
        appendJsonString(nodes, s.name);
        nodes += ",\"mesh\":" + std::to_string(meshCount) + "}";
        if (!sceneNodes.empty()) sceneNodes += ',';
        sceneNodes += std::to_string(meshCount);
        ++meshCount;
    }

    std::string json =
        "{\"asset\":{\"version\":\"2.0\",\"generator\":\"quarvessin\",\"extras\":{\"axes\":";
    json += axesJson;
    json +=
        ",\"units\":{\"x\":\"C\",\"y\":\"bar\",\"z\":\"wt%\"},\"pressure\":\"linear in the data; "
        "draw it on a logarithmic axis\"}},\"scene\":0,\"scenes\":[{\"nodes\":[" +
        sceneNodes + "]}],\"nodes\":[" + nodes + "],\"meshes\":[" + meshes + "],\"accessors\":[" +
        accessors + "],\"bufferViews\":[" + views +
        "],\"buffers\":[{\"byteLength\":" + std::to_string(bin.size()) + "}]}";
    while (json.size() % 4 != 0) json += ' ';
    while (bin.size() % 4 != 0) bin += '\0';

    std::string out;
    const std::size_t total = 12 + 8 + json.size() + 8 + bin.size();
    appendUint32(out, glbMagic);
    appendUint32(out, glbVersion);
    appendUint32(out, static_cast<std::uint32_t>(total));
    appendUint32(out, static_cast<std::uint32_t>(json.size()));
    appendUint32(out, glbJsonChunk);
    out += json;
    appendUint32(out, static_cast<std::uint32_t>(bin.size()));
    appendUint32(out, glbBinChunk);
    out += bin;
    return out;
}

std::string surfacePly(const SurfaceMesh& s, bool binary) {
    const bool curve = isCurve(s);
    std::string out = "ply\nformat ";
    out += binary ? "binary_little_endian" : "ascii";
    out += " 1.0\ncomment quarvessin surface " + s.name + " (" + s.boundary +
           ")\ncomment axes: " + surfaceAxes +
           "\ncomment pressure linear in bar; draw it on a logarithmic axis\nelement vertex " +
           std::to_string(s.vertices.size()) + "\n";
    for (const char* axis : {"x", "y", "z"}) out += std::string("property double ") + axis + "\n";
    if (curve) {
        out += "element edge " + std::to_string(s.lines.size()) +
               "\nproperty uint vertex1\nproperty uint vertex2\n";
    } else {
        out += "element face " + std::to_string(s.triangles.size()) +
               "\nproperty list uchar uint vertex_indices\n";
    }
    out += "end_header\n";
    for (const auto& v : s.vertices) {
        if (binary) {
            for (double c : v) appendDouble(out, c);
        } else {
            for (int k = 0; k < 3; ++k) {
                if (k > 0) out += ' ';
                appendShortest(out, v[static_cast<std::size_t>(k)]);
            }
            out += '\n';
        }
    }
    if (curve) {
        for (const auto& l : s.lines) {
            if (binary) {
                appendUint32(out, l[0]);
                appendUint32(out, l[1]);
            } else {
                out += std::to_string(l[0]) + ' ' + std::to_string(l[1]) + '\n';
            }
        }
    } else {
        for (const auto& t : s.triangles) {
            if (binary) {
                out += static_cast<char>(3);
                for (std::uint32_t i : t) appendUint32(out, i);
            } else {
                out += "3 " + std::to_string(t[0]) + ' ' + std::to_string(t[1]) + ' ' +
                       std::to_string(t[2]) + '\n';
            }
        }
    }
    return out;
}

std::string surfaceObj(const SurfaceMesh& s) {
    std::string out =
        "# quarvessin surface " + s.name + " (" + s.boundary + ")\n# axes: " + surfaceAxes +
        "\n# pressure linear in bar; draw it on a logarithmic axis\no " + s.name + "\n";
    for (const auto& v : s.vertices) {
        out += 'v';
        for (double c : v) {
            out += ' ';
            appendShortest(out, c);
        }
        out += '\n';
    }
    // OBJ counts vertices from 1.
    for (const auto& t : s.triangles) {
        out += "f " + std::to_string(t[0] + 1) + ' ' + std::to_string(t[1] + 1) + ' ' +
               std::to_string(t[2] + 1) + '\n';
    }
    for (const auto& l : s.lines) {
        out += "l " + std::to_string(l[0] + 1) + ' ' + std::to_string(l[1] + 1) + '\n';
    }
    return out;
}

std::string surfaceFileName(const SurfaceMesh& surface, const std::string& extension) {
    return surface.name + "." + extension;
}

}  // namespace quarvessin
