// The ship and reward models: their tables, the display lists made from them and how they are lit.
#include <GL/gl.h>
#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "ships/MeshLists.h"
#include "ships/ModelData.h"
#include "support/GLTestWindow.h"

namespace {

struct Vec {
    double x, y, z;
};
Vec sub(MeshPoint a, MeshPoint b) { return {double(a.x) - b.x, double(a.y) - b.y, double(a.z) - b.z}; }
Vec cross(Vec a, Vec b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
double dot(Vec a, MeshPoint b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

class MeshList : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(testing_support::openGLWindow()) << SDL_GetError();
        testing_support::resetGameGLState();
        glDisable(GL_TEXTURE_2D); // the ship and the reward are drawn untextured
    }
};

// One vertex as OpenGL hands it back in feedback mode, turned back into game units.
struct Drawn {
    double x, y, z;
    float colour[4];
};

// Draws a list through feedback under a projection that maps game units one to one onto the window,
// so every triangle the list emits comes back in order with its position and lit colour.
std::vector<std::vector<Drawn>> drawThroughFeedback(GLuint list) {
    std::vector<GLfloat> buffer(1 << 20);
    glFeedbackBuffer(GLsizei(buffer.size()), GL_3D_COLOR, buffer.data());
    glRenderMode(GL_FEEDBACK);
    glDisable(GL_CULL_FACE);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-400, 400, -300, 300, -1000, 1000);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glCallList(list);
    const GLint used = glRenderMode(GL_RENDER);
    EXPECT_GT(used, 0) << "feedback buffer overflowed";
    std::vector<std::vector<Drawn>> triangles;
    for (GLint i = 0; i < used;) {
        EXPECT_EQ(buffer[i++], GLfloat(GL_POLYGON_TOKEN));
        const int corners = int(buffer[i++]);
        triangles.emplace_back();
        for (int k = 0; k < corners; ++k, i += 7)
            triangles.back().push_back({buffer[i] - 400.0,
                                        buffer[i + 1] - 300.0,
                                        (0.5 - buffer[i + 2]) * 2000.0,
                                        {buffer[i + 3], buffer[i + 4], buffer[i + 5], buffer[i + 6]}});
    }
    return triangles;
}

// Full ambient light alone gives each vertex its material's ambient colour; a white light straight
// above alone makes a vertex as bright as its normal faces up.
void setLight(bool fromAbove) {
    const GLfloat none[4] = {0, 0, 0, 1}, white[4] = {1, 1, 1, 1}, above[4] = {0, 1, 0, 0};
    glEnable(GL_LIGHTING);
    for (int l = 1; l < 8; ++l)
        glDisable(GL_LIGHT0 + l);
    fromAbove ? glEnable(GL_LIGHT0) : glDisable(GL_LIGHT0);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, fromAbove ? none : white);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glLightfv(GL_LIGHT0, GL_POSITION, above);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
    glLightfv(GL_LIGHT0, GL_SPECULAR, none);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, white); // the ship's player colour
}

struct Extent {
    double lo[3] = {1e9, 1e9, 1e9}, hi[3] = {-1e9, -1e9, -1e9};
    void add(const Drawn& v) {
        const double p[3] = {v.x, v.y, v.z};
        for (int a = 0; a < 3; ++a)
            lo[a] = std::min(lo[a], p[a]), hi[a] = std::max(hi[a], p[a]);
    }
    double size(int a) const { return hi[a] - lo[a]; }
};

} // namespace

TEST_F(MeshList, IsCompiledOnceAndLeavesMaterialNeutralWithTheShipKeepingThePlayerColour) {
    const GLuint ship = shipMeshList(), reward = rewardMeshList();
    EXPECT_TRUE(glIsList(ship) && glIsList(reward) && ship != reward);
    EXPECT_EQ(shipMeshList(), ship);
    EXPECT_EQ(rewardMeshList(), reward);

    const GLfloat playerColour[4] = {0.8f, 0.2f, 0.2f, 1.0f}, one[4] = {1, 1, 1, 1}, zero[4] = {0, 0, 0, 0};
    for (auto [list, diffuse] : {std::pair{ship, playerColour}, std::pair{reward, one}}) {
        glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, playerColour);
        glCallList(list);
        for (GLenum side : {GL_FRONT, GL_BACK}) {
            GLfloat shininess = 0, got[4];
            glGetMaterialfv(side, GL_SHININESS, &shininess);
            EXPECT_FLOAT_EQ(shininess, 1.0f);
            for (auto [which, expected] : {std::pair{GL_DIFFUSE, diffuse}, std::pair{GL_SPECULAR, one},
                                           std::pair{GL_AMBIENT, zero}, std::pair{GL_EMISSION, zero}}) {
                glGetMaterialfv(side, which, got);
                for (int i = 0; i < 4; ++i)
                    EXPECT_FLOAT_EQ(got[i], expected[i]) << "material " << which << " of list " << list;
            }
        }
    }
}

// The tables are checked first; then an ambient pass checks positions and each run's material, and a
// pass lit from above checks that the normals were turned with the positions.
TEST_F(MeshList, TablesAreClosedAndOutwardFacingAndDrawnInGameUnitsWithRunMaterialsAndTurnedNormals) {
    struct Model {
        const char* name;
        const MeshModel* table;
        GLuint (*list)();
        std::vector<int> runMaterials;
        int minFaces, maxFaces;
        double size[3];       // width, height and length in game units
        float MeshPoint::*up; // the model's top, which is +Y in the game
    };
    for (const Model& c :
         {Model{"ship", &shipModel, shipMeshList, {0, 1, 2}, 9000, 12000, {68.68, 9.9, 100}, &MeshPoint::z},
          Model{"reward",
                &rewardModel,
                rewardMeshList,
                {0, 1, 2, 0, 1, 2},
                3800,
                5000,
                {100, 59.32, 100},
                &MeshPoint::y}}) {
        SCOPED_TRACE(c.name);
        const MeshModel& m = *c.table;
        EXPECT_TRUE(m.faceCount >= c.minFaces && m.faceCount <= c.maxFaces) << m.faceCount;
        std::vector<int> runMaterials, material; // of each run, of each face
        for (int r = 0; r < m.runCount; ++r) {
            runMaterials.push_back(m.runs[r].material);
            EXPECT_GT(m.runs[r].faceCount, 0);
            material.insert(material.end(), m.runs[r].faceCount, m.runs[r].material);
        }
        EXPECT_EQ(runMaterials, c.runMaterials);
        ASSERT_EQ(int(material.size()), m.faceCount);
        for (int n = 0; n < m.normalCount; ++n) {
            const MeshPoint v = m.normals[n];
            ASSERT_NEAR(std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z), 1.0, 1e-5) << "normal " << n;
        }
        // Every corner's normal leans the way the triangle winds, and the winding encloses a positive
        // volume: with back faces culled, the outside is what shows.
        double volume = 0;
        for (int f = 0; f < m.faceCount; ++f) {
            const MeshFace& face = m.faces[f];
            for (int k = 0; k < 3; ++k)
                ASSERT_TRUE(face.position[k] >= 0 && face.position[k] < m.positionCount &&
                            face.normal[k] >= 0 && face.normal[k] < m.normalCount && face.texCoord[k] >= 0 &&
                            face.texCoord[k] < m.texCoordCount)
                    << "face " << f;
            const MeshPoint a = m.positions[face.position[0]], b = m.positions[face.position[1]],
                            c2 = m.positions[face.position[2]];
            const Vec winding = cross(sub(b, a), sub(c2, a));
            for (int k = 0; k < 3; ++k)
                ASSERT_GT(dot(winding, m.normals[face.normal[k]]), 0) << "face " << f;
            volume += dot(cross({b.x, b.y, b.z}, {c2.x, c2.y, c2.z}), a) / 6;
        }
        EXPECT_GT(volume, 0);

        setLight(false);
        const auto ambient = drawThroughFeedback(c.list());
        setLight(true);
        const auto lit = drawThroughFeedback(c.list());
        ASSERT_EQ(int(ambient.size()), m.faceCount);
        ASSERT_EQ(int(lit.size()), m.faceCount);
        Extent extent, front, rear;
        for (int f = 0; f < m.faceCount; ++f)
            for (int k = 0; k < 3; ++k) {
                const Drawn& v = ambient[f][k];
                extent.add(v);
                if (v.z < -35) front.add(v);
                if (v.z > 20) rear.add(v);
                const MeshMaterial& mat = m.materials[material[f]];
                for (int i = 0; i < 3; ++i)
                    ASSERT_NEAR(v.colour[i], mat.ambient[i], 1e-3) << "face " << f;
                const double facing = std::max(0.0f, m.normals[m.faces[f].normal[k]].*c.up);
                const double diffuse =
                    &m == &rewardModel ? mat.diffuse[0] : 1.0; // the ship keeps the caller's
                ASSERT_NEAR(lit[f][k].colour[0], diffuse * facing, 2e-3) << "face " << f << " corner " << k;
            }
        for (int a = 0; a < 3; ++a) {
            EXPECT_NEAR(extent.size(a), c.size[a], 0.01) << "axis " << a;
            EXPECT_NEAR(extent.lo[a] + extent.hi[a], 0, 0.01) << "centred on axis " << a;
        }
        if (&m == &shipModel) { // the nose leads along -Z: a narrow point in front, the span at the back
            EXPECT_LT(front.size(0), 20);
            EXPECT_GT(rear.size(0), 60);
        }
    }
}

TEST_F(MeshList, EmptyRunsAreSkippedAndFacesPastTheRunsKeepTheLastMaterial) {
    const MeshMaterial materials[3] = {{{0.1f, 0.1f, 0.1f}, {}, {}, {}, 1, 1, -1},
                                       {{0.5f, 0.5f, 0.5f}, {}, {}, {}, 1, 1, -1},
                                       {{0.9f, 0.9f, 0.9f}, {}, {}, {}, 1, 1, -1}};
    const MeshPoint positions[3] = {{0, 0, 0}, {0.1f, 0, 0}, {0, 0.1f, 0}};
    const MeshPoint normals[1] = {{0, 0, 1}};
    const MeshTexCoord texCoords[1] = {{0, 0}};
    const MeshFace face = {{0, 1, 2}, {0, 0, 0}, {0, 0, 0}};
    const MeshFace faces[4] = {face, face, face, face};
    // Face 0 in material 0, an empty run of material 1, then material 2 for two faces; the fourth face
    // has no run left.
    const MeshRun runs[3] = {{0, 1}, {1, 0}, {2, 2}};
    const MeshModel model = {materials, 3, faces, 4, positions, 3, normals, 1, texCoords, 1, runs, 3};

    setLight(false);
    const GLuint list = compileModelList(model, ModelKind::Reward);
    const auto triangles = drawThroughFeedback(list);
    ASSERT_EQ(triangles.size(), 4u);
    const float expected[4] = {0.1f, 0.9f, 0.9f, 0.9f};
    for (int f = 0; f < 4; ++f)
        EXPECT_NEAR(triangles[f][0].colour[0], expected[f], 1e-3) << "face " << f;
    glDeleteLists(list, 1);
}
