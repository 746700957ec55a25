#include "render/FastWorld.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "render/GLState.h"
#include "render/Views.h"

namespace qw {

namespace {

constexpr int kWindowWidth = 2 * kViewRadius + 1;
constexpr int kFloatsPerVertex = 5;  // x, y, z, s, t
constexpr GLsizei kVertexStride = kFloatsPerVertex * sizeof(float);
// Calls after which unused chunks give back their memory and buffers.
constexpr uint64_t kEvictEvery = 64;
constexpr uint64_t kKeepWorldChunk = 256;
constexpr uint64_t kKeepViewChunk = 128;
// Not a texture name we bind: forces the next bind.
constexpr unsigned kUnknownTexture = ~0u;

using TCell = std::array<int64_t, 3>;

// World units of a cell index, without an integer product that could overflow.
float UnitsOf(int64_t index) { return static_cast<float>(4.0 * static_cast<double>(index)); }

TBox CellBox(const TCell& c) {
    return {{4.0 * c[0], 4.0 * c[1], 4.0 * c[2]}, {4.0 * c[0] + 4, 4.0 * c[1] + 4, 4.0 * c[2] + 4}};
}

// Corner of the standard cube (x 0..4, y 4..0, z 0..4) that a face corner picks.
std::array<float, 3> CubeCorner(const TFaceCorner& c) {
    return {c.x ? 4.0f : 0.0f, c.y ? 0.0f : 4.0f, c.z ? 4.0f : 0.0f};
}

// The first loop key of a chunk at `origin` that is not before cell `t` in
// the drawing loop, for chunks up to 16 cells long.
uint32_t LocalThreshold(const TCell& origin, const TCell& t) {
    const int64_t y = t[1] - origin[1], x = t[0] - origin[0], z = t[2] - origin[2];
    constexpr int64_t n = kChunkSize;
    if (y < 0) return 0;
    if (y >= n) return n * n * n;
    const int64_t base = y * n * n;
    if (x < 0) return static_cast<uint32_t>(base);
    if (x >= n) return static_cast<uint32_t>(base + n * n);
    const int64_t row = base + x * n;
    if (z < 0) return static_cast<uint32_t>(row);
    if (z >= n) return static_cast<uint32_t>(row + n);
    return static_cast<uint32_t>(row + z);
}

}  // namespace

int64_t TFastWorld::TWindow::LoopKey(const TCell& c) const {
    return ((c[1] - low[1]) * kWindowWidth + (c[0] - low[0])) * kWindowWidth + (c[2] - low[2]);
}

bool TFastWorld::TWindow::Contains(const TCell& c) const {
    for (size_t a = 0; a < 3; ++a)
        if (c[a] < low[a] || c[a] > high[a]) return false;
    return true;
}

TFastWorld::TFastWorld() : world_(kChunkCount) {
    for (auto& view : views_) view.resize(kChunkCount);
}

TFastWorld::~TFastWorld() = default;

void TFastWorld::Invalidate() {
    for (auto& chunk : world_) chunk.reset();
    for (auto& view : views_)
        for (TViewChunk& vc : view) vc.version = 0;
    opacityKnown_ = false;
}

void TFastWorld::ReleaseGL() {
    for (auto& view : views_)
        for (TViewChunk& vc : view) {
            if (vc.buffer) glDeleteBuffers(1, &vc.buffer);
            vc = TViewChunk{};
        }
}

void TFastWorld::ReadTextureOpacity(const TGameState& g) {
    GLint previous = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
    std::vector<uint8_t> texels;
    for (int group = 0; group < kTextureGroups; ++group) {
        glBindTexture(GL_TEXTURE_2D, g.texName[static_cast<size_t>(kBlockTextureSlots[static_cast<size_t>(group)])]);
        GLint width = 0, height = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
        bool opaque = true;  // a texture without an image draws plain, opaque faces
        if (width > 0 && height > 0) {
            texels.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
            glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
            for (size_t i = 3; i < texels.size() && opaque; i += 4) opaque = texels[i] == 255;
        }
        opacity_.opaque[static_cast<size_t>(group)] = opaque;
    }
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previous));
    opacityKnown_ = true;
}

TFastWorld::TWorldChunk& TFastWorld::CurrentWorldChunk(const TLevel& level, TChunkId id) {
    auto& slot = world_[static_cast<size_t>(id.Flat())];
    if (!slot || !slot->cells.Matches(level)) {
        if (!slot) slot = std::make_unique<TWorldChunk>();
        slot->cells.Gather(level, id);
        BuildChunkMesh(slot->cells, opacity_, slot->mesh);
        slot->version = nextVersion_++;
    }
    slot->usedAt = drawCount_;
    return *slot;
}

std::vector<TFastWorld::TPlacement> TFastWorld::Placements(const TWindow& window) const {
    struct TSpan {
        int chunk;
        int64_t origin;
        int low, high;
    };
    std::array<std::vector<TSpan>, 3> spans;
    for (size_t a = 0; a < 3; ++a) {
        for (int64_t u = window.low[a]; u <= window.high[a];) {
            const int w = WrapIndex(u);
            const int chunk = ChunkOfIndex(w);
            const int64_t origin = u - (w - ChunkStart(chunk));
            const int64_t end = std::min(window.high[a], origin + ChunkLength(chunk) - 1);
            spans[a].push_back({chunk, origin, static_cast<int>(u - origin), static_cast<int>(end - origin)});
            u = end + 1;
        }
    }
    std::vector<TPlacement> placements;
    for (const TSpan& x : spans[0])
        for (const TSpan& y : spans[1])
            for (const TSpan& z : spans[2])
                placements.push_back({{x.chunk, y.chunk, z.chunk},
                                      {x.origin, y.origin, z.origin},
                                      {x.low, y.low, z.low},
                                      {x.high, y.high, z.high}});
    return placements;
}

void TFastWorld::RebuildViewChunk(TViewChunk& vc, const TWorldChunk& wc, const TPlacement& p) {
    vertexScratch_.clear();
    vc.keys.clear();
    const auto inside = [&p](const TChunkFace& f) {
        return f.x >= p.clipLow[0] && f.x <= p.clipHigh[0] && f.y >= p.clipLow[1] && f.y <= p.clipHigh[1] &&
               f.z >= p.clipLow[2] && f.z <= p.clipHigh[2];
    };
    uint32_t total = 0;
    for (size_t group = 0; group < static_cast<size_t>(kTextureGroups); ++group) {
        vc.first[group] = total;
        for (const TChunkFace& f : wc.mesh.faces[group]) {
            if (!inside(f)) continue;
            for (size_t i = 0; i < 4; ++i) {
                const std::array<float, 3> corner = CubeCorner(kBoxFaceCorners[f.face][i]);
                vertexScratch_.insert(vertexScratch_.end(),
                                      {4.0f * f.x + corner[0], 4.0f * f.y + corner[1], 4.0f * f.z + corner[2],
                                       static_cast<float>(kQuadTexCoords[i][0]),
                                       static_cast<float>(kQuadTexCoords[i][1])});
            }
            vc.keys.push_back(f.LoopKey());
            ++total;
        }
        vc.count[group] = total - vc.first[group];
    }
    if (total > 0) {
        if (!vc.buffer) glGenBuffers(1, &vc.buffer);
        glBindBuffer(GL_ARRAY_BUFFER, vc.buffer);
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(vertexScratch_.size() * sizeof(float)),
                     vertexScratch_.data(), GL_STATIC_DRAW);
    }
    vc.version = wc.version;
    vc.clipLow = p.clipLow;
    vc.clipHigh = p.clipHigh;
}

void TFastWorld::BindTexture(unsigned name) {
    if (name == boundTexture_) return;
    glBindTexture(GL_TEXTURE_2D, name);
    boundTexture_ = name;
}

const TBlockLook* TFastWorld::OpaqueLookAt(const TGameState& g, const TWindow& window, const TCell& c) const {
    if (!window.Contains(c)) return nullptr;
    const TBlockLook* look = BlockLookOfCode(g.level.wrapped(c[0], c[1], c[2]));
    return look && opacity_.LookIsOpaque(*look) ? look : nullptr;
}

void TFastWorld::DrawCellFace(const TGameState& g, const TCell& at, int face, int slot) {
    BindTexture(g.texName[static_cast<size_t>(slot)]);
    float v[4][3];
    for (size_t i = 0; i < 4; ++i) {
        const std::array<float, 3> corner = CubeCorner(kBoxFaceCorners[static_cast<size_t>(face)][i]);
        for (size_t a = 0; a < 3; ++a) v[i][a] = UnitsOf(at[a]) + corner[a];
    }
    glBegin(GL_QUADS);
    DrawTexQuad(v[0][0], v[0][1], v[0][2], v[1][0], v[1][1], v[1][2], v[2][0], v[2][1], v[2][2], v[3][0], v[3][1],
                v[3][2], 1.0f);
    glEnd();
}

size_t TFastWorld::DrawLooseFaces(const TGameState& g, const std::vector<TLooseFace>& faces, size_t next,
                                  int64_t beforeKey) {
    for (; next < faces.size() && faces[next].loopKey < beforeKey; ++next)
        DrawCellFace(g, faces[next].at, faces[next].face, faces[next].slot);
    return next;
}

std::vector<TFastWorld::TLooseFace> TFastWorld::NearEyeFaces(const TGameState& g, const TWindow& window,
                                                             const TVec3& eye, double reach) const {
    // With the eye in an opaque cell, or the near plane cutting into one, the
    // faces its opaque neighbours turn toward it are in sight after all. Each
    // keeps its neighbour's place in the loop, so a translucent cell the loop
    // draws first hides it.
    std::vector<TLooseFace> faces;
    std::array<int64_t, 3> low{}, high{};
    for (size_t a = 0; a < 3; ++a) {
        if (!(std::fabs(eye[a]) < 1e9)) return faces;  // no eye near any cell of the window
        low[a] = static_cast<int64_t>(std::floor((eye[a] - reach) / 4.0));
        high[a] = static_cast<int64_t>(std::floor((eye[a] + reach) / 4.0));
    }
    TCell n{};
    for (n[0] = low[0]; n[0] <= high[0]; ++n[0])
        for (n[1] = low[1]; n[1] <= high[1]; ++n[1])
            for (n[2] = low[2]; n[2] <= high[2]; ++n[2]) {
                if (SquaredDistance(CellBox(n), eye) > reach * reach || !OpaqueLookAt(g, window, n)) continue;
                for (int face = kFaceA; face < kFaceCount; ++face) {
                    const TCellStep& step = kFaceNeighbour[static_cast<size_t>(face)];
                    const TCell m{n[0] + step.x, n[1] + step.y, n[2] + step.z};
                    const TBlockLook* look = OpaqueLookAt(g, window, m);
                    const int back = face ^ 1;  // the neighbour's face toward n
                    if (look) faces.push_back({window.LoopKey(m), m, back, FaceTexture(*look, back)});
                }
            }
    std::stable_sort(faces.begin(), faces.end(),
                     [](const TLooseFace& a, const TLooseFace& b) { return a.loopKey < b.loopKey; });
    return faces;
}

std::vector<TFastWorld::TLooseFace> TFastWorld::FacesSeenThroughBlends(const TGameState& g, const TWindow& window,
                                                                       const std::vector<TCellToBlend>& blended,
                                                                       const TFrustum& frustum) const {
    // A translucent cell T shows the nearest face drawn before it, and hides
    // the cells drawn after it. So a face between two opaque cells A and B
    // shows through T when A comes before T and B after it in the loop: the
    // top face of A with B on it, or its +x face with B beside it. Only cells
    // less than one layer before T can be such an A.
    constexpr int64_t kLayer = int64_t{kWindowWidth} * kWindowWidth;
    constexpr int64_t kRow = kWindowWidth;
    std::vector<TLooseFace> faces;
    TScreenRect behind{1e300, 1e300, -1e300, -1e300};
    for (const TCellToBlend& t : blended) {
        const TBox box = CellBox(t.at);
        std::array<TVec3, 8> corners;
        for (size_t i = 0; i < 8; ++i)
            corners[i] = {i & 1 ? box.max[0] : box.min[0], i & 2 ? box.max[1] : box.min[1],
                          i & 4 ? box.max[2] : box.min[2]};
        const TScreenRect r = frustum.ScreenBounds(corners.data(), 8);
        behind = {std::min(behind.minX, r.minX), std::min(behind.minY, r.minY), std::max(behind.maxX, r.maxX),
                  std::max(behind.maxY, r.maxY)};
    }
    int64_t done = -1;  // keys up to here are examined
    for (size_t i = 0; i < blended.size(); ++i) {
        const int64_t tKey = blended[i].loopKey;
        for (int64_t key = std::max(done + 1, tKey - kLayer + 1); key < tKey; ++key) {
            const TCell a{window.low[0] + key / kRow % kWindowWidth, window.low[1] + key / kLayer,
                          window.low[2] + key % kWindowWidth};
            const TBlockLook* look = OpaqueLookAt(g, window, a);
            if (!look) continue;
            // The first translucent cell after A decides which neighbours come after it.
            const bool besideToo = tKey < key + kRow;
            for (int face : {kFaceD, kFaceE}) {
                if (face == kFaceD && !besideToo) continue;
                const TCellStep& step = kFaceNeighbour[static_cast<size_t>(face)];
                if (!OpaqueLookAt(g, window, {a[0] + step.x, a[1] + step.y, a[2] + step.z})) continue;
                std::array<TVec3, 4> corners;
                for (size_t c = 0; c < 4; ++c) {
                    const std::array<float, 3> corner = CubeCorner(kBoxFaceCorners[static_cast<size_t>(face)][c]);
                    for (size_t ax = 0; ax < 3; ++ax) corners[c][ax] = 4.0 * static_cast<double>(a[ax]) + corner[ax];
                }
                if (frustum.ScreenBounds(corners.data(), 4).Overlaps(behind))
                    faces.push_back({key, a, face, FaceTexture(*look, face)});
            }
        }
        done = std::max(done, tKey - 1);
    }
    return faces;
}

void TFastWorld::DrawChunkPart(TVisibleChunk& v, const TCell* before) {
    TViewChunk& vc = *v.chunk;
    const uint32_t threshold = before ? LocalThreshold(v.origin, *before) : 0;
    bool placed = false;
    for (size_t group = 0; group < static_cast<size_t>(kTextureGroups); ++group) {
        uint32_t end = vc.count[group];
        if (before) {
            const auto begin = vc.keys.begin() + vc.first[group];
            end = static_cast<uint32_t>(
                std::lower_bound(begin + v.cursor[group], begin + vc.count[group], threshold) - begin);
        }
        if (end <= v.cursor[group]) continue;
        if (!placed) {
            glBindBuffer(GL_ARRAY_BUFFER, vc.buffer);
            glVertexPointer(3, GL_FLOAT, kVertexStride, nullptr);
            glTexCoordPointer(2, GL_FLOAT, kVertexStride, reinterpret_cast<const void*>(3 * sizeof(float)));
            glPushMatrix();
            glTranslatef(UnitsOf(v.origin[0]), UnitsOf(v.origin[1]), UnitsOf(v.origin[2]));
            placed = true;
        }
        BindTexture(textureNames_[group]);
        glDrawArrays(GL_QUADS, static_cast<GLint>((vc.first[group] + v.cursor[group]) * 4),
                     static_cast<GLsizei>((end - v.cursor[group]) * 4));
        v.cursor[group] = end;
    }
    if (placed) glPopMatrix();
}

void TFastWorld::DrawBlendedCell(const TGameState& g, const TCellToBlend& cell) {
    const TBlockLook* look = BlockLookOfCode(cell.code);
    glPushMatrix();
    glTranslatef(UnitsOf(cell.at[0]), UnitsOf(cell.at[1]), UnitsOf(cell.at[2]));
    DrawBlockCube(g, look->side, look->top, look->bottom, 0.0f, 4.0f, 0.0f, 4.0f, 0.0f, 4.0f, 1.0f);
    glPopMatrix();
    boundTexture_ = kUnknownTexture;
}

void TFastWorld::EvictUnused() {
    for (auto& chunk : world_)
        if (chunk && chunk->usedAt + kKeepWorldChunk < drawCount_) chunk.reset();
    for (auto& view : views_)
        for (TViewChunk& vc : view)
            if (vc.usedAt + kKeepViewChunk < drawCount_ && (vc.buffer || !vc.keys.empty())) {
                if (vc.buffer) glDeleteBuffers(1, &vc.buffer);
                vc = TViewChunk{};
            }
}

void TFastWorld::DrawCells(const TGameState& g, int view) {
    ++drawCount_;
    if (drawCount_ % kEvictEvery == 0) EvictUnused();
    if (!opacityKnown_) ReadTextureOpacity(g);
    for (size_t group = 0; group < static_cast<size_t>(kTextureGroups); ++group)
        textureNames_[group] = g.texName[static_cast<size_t>(kBlockTextureSlots[group])];

    std::array<double, 16> projection{}, modelview{};
    glGetDoublev(GL_PROJECTION_MATRIX, projection.data());
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview.data());
    const TFrustum frustum(projection, modelview);
    const TVec3 eye = EyePoint(modelview);

    const TViewCell c = ViewCell(g, view);
    TWindow window{{c.x - kViewRadius, c.y - kViewRadius, c.z - kViewRadius},
                   {c.x + kViewRadius, c.y + kViewRadius, c.z + kViewRadius}};

    auto& viewChunks = views_[view == 0 ? 0 : 1];
    std::vector<TVisibleChunk> visible;
    std::vector<TCellToBlend> blended;
    for (const TPlacement& p : Placements(window)) {
        TBox box;
        for (size_t a = 0; a < 3; ++a) {
            box.min[a] = 4.0 * static_cast<double>(p.origin[a] + p.clipLow[a]);
            box.max[a] = 4.0 * static_cast<double>(p.origin[a] + p.clipHigh[a] + 1);
        }
        if (frustum.Excludes(box)) continue;
        const TWorldChunk& wc = CurrentWorldChunk(g.level, p.id);
        TViewChunk& vc = viewChunks[static_cast<size_t>(p.id.Flat())];
        vc.usedAt = drawCount_;
        if (vc.version != wc.version || vc.clipLow != p.clipLow || vc.clipHigh != p.clipHigh)
            RebuildViewChunk(vc, wc, p);
        for (const TChunkCell& t : wc.mesh.translucent) {
            const TCell at{p.origin[0] + t.x, p.origin[1] + t.y, p.origin[2] + t.z};
            if (window.Contains(at) && !frustum.Excludes(CellBox(at)))
                blended.push_back({at, t.code, window.LoopKey(at)});
        }
        if (!vc.keys.empty()) visible.push_back({&vc, p.origin, SquaredDistance(box, eye), {}});
    }
    // Nearest first, so hidden fragments fail the depth test early.
    std::sort(visible.begin(), visible.end(),
              [](const TVisibleChunk& a, const TVisibleChunk& b) { return a.distance < b.distance; });
    std::sort(blended.begin(), blended.end(),
              [](const TCellToBlend& a, const TCellToBlend& b) { return a.loopKey < b.loopKey; });

    // Opaque texels look the same with blending on or off; off is cheaper.
    const bool blendWasOn = glIsEnabled(GL_BLEND);
    glDisable(GL_BLEND);
    // Under the game's lighting a vertex takes the current colour; when that
    // is white, modulating leaves the texel as it is, and replacing spares the
    // renderer the colour of every vertex and fragment.
    GLfloat colour[4] = {0, 0, 0, 0};
    glGetFloatv(GL_CURRENT_COLOR, colour);
    const bool white = colour[0] == 1.0f && colour[1] == 1.0f && colour[2] == 1.0f && colour[3] == 1.0f;
    GLint textureMode = GL_MODULATE;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &textureMode);
    if (white && textureMode == GL_MODULATE) glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    boundTexture_ = kUnknownTexture;

    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    // A translucent cell shows what the loop drew before it and hides what it
    // drew after it, so the opaque faces are split at each translucent cell.
    // Within a part the order is free: the faces nearest the eye go first, so
    // that what they cover fails the depth test early.
    const std::vector<TLooseFace> nearEye = NearEyeFaces(g, window, eye, NearPlaneReach(projection) + 0.01);
    const std::vector<TLooseFace> seenThrough =
        blended.empty() ? std::vector<TLooseFace>{} : FacesSeenThroughBlends(g, window, blended, frustum);
    size_t nextNearEye = 0, nextSeenThrough = 0;
    for (const TCellToBlend& cell : blended) {
        nextNearEye = DrawLooseFaces(g, nearEye, nextNearEye, cell.loopKey);
        for (TVisibleChunk& v : visible) DrawChunkPart(v, &cell.at);
        nextSeenThrough = DrawLooseFaces(g, seenThrough, nextSeenThrough, cell.loopKey);
        if (blendWasOn) glEnable(GL_BLEND);
        DrawBlendedCell(g, cell);
        glDisable(GL_BLEND);
    }
    DrawLooseFaces(g, nearEye, nextNearEye, std::numeric_limits<int64_t>::max());
    for (TVisibleChunk& v : visible) DrawChunkPart(v, nullptr);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    if (blendWasOn) glEnable(GL_BLEND);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, textureMode);
}

}  // namespace qw
