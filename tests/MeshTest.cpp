// The ship and reward models: their tables, the display lists made from them and how the ship looks.
#include <GL/gl.h>
#include <GL/glu.h>
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

// Only ambient light, at full strength: each vertex comes back in its material's ambient colour.
void lightAmbientOnly() {
    const GLfloat full[4] = {1, 1, 1, 1};
    glEnable(GL_LIGHTING);
    for (int l = 0; l < 8; ++l)
        glDisable(GL_LIGHT0 + l);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, full);
}

// The material each face is meant to be drawn with, by walking the run table.
std::vector<int> materialOfEachFace(const MeshModel& m) {
    std::vector<int> material;
    for (int r = 0; r < m.runCount; ++r)
        material.insert(material.end(), m.runs[r].faceCount, m.runs[r].material);
    return material;
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

TEST(MeshTables, AreClosedOutwardFacingAndIndexedWithinRange) {
    struct Case {
        const char* name;
        const MeshModel* model;
        std::vector<int> runMaterials;
        int minFaces, maxFaces;
    };
    const Case cases[] = {{"ship", &shipModel, {0, 1, 2}, 9000, 12000},
                          {"reward", &rewardModel, {0, 1, 2, 0, 1, 2}, 3800, 5000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const MeshModel& m = *c.model;
        EXPECT_GE(m.faceCount, c.minFaces);
        EXPECT_LE(m.faceCount, c.maxFaces);

        std::vector<int> materials;
        int covered = 0;
        for (int r = 0; r < m.runCount; ++r) {
            materials.push_back(m.runs[r].material);
            EXPECT_GT(m.runs[r].faceCount, 0);
            covered += m.runs[r].faceCount;
        }
        EXPECT_EQ(materials, c.runMaterials);
        EXPECT_EQ(covered, m.faceCount);

        for (int n = 0; n < m.normalCount; ++n) {
            const MeshPoint v = m.normals[n];
            ASSERT_NEAR(std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z), 1.0, 1e-5) << "normal " << n;
        }

        // Every corner's normal leans the way the triangle winds, and the winding encloses a positive
        // volume: with back faces culled, the outside is what shows.
        double volume = 0;
        for (int f = 0; f < m.faceCount; ++f) {
            const MeshFace& face = m.faces[f];
            for (int k = 0; k < 3; ++k) {
                ASSERT_TRUE(face.position[k] >= 0 && face.position[k] < m.positionCount) << "face " << f;
                ASSERT_TRUE(face.normal[k] >= 0 && face.normal[k] < m.normalCount) << "face " << f;
                ASSERT_TRUE(face.texCoord[k] >= 0 && face.texCoord[k] < m.texCoordCount) << "face " << f;
            }
            const MeshPoint a = m.positions[face.position[0]], b = m.positions[face.position[1]],
                            c2 = m.positions[face.position[2]];
            const Vec winding = cross(sub(b, a), sub(c2, a));
            for (int k = 0; k < 3; ++k)
                ASSERT_GT(dot(winding, m.normals[face.normal[k]]), 0) << "face " << f;
            volume += dot(cross({b.x, b.y, b.z}, {c2.x, c2.y, c2.z}), a) / 6;
        }
        EXPECT_GT(volume, 0);
    }
}

TEST_F(MeshList, IsCompiledOnceAndReused) {
    const GLuint ship = shipMeshList();
    EXPECT_TRUE(glIsList(ship));
    EXPECT_EQ(shipMeshList(), ship);
    const GLuint reward = rewardMeshList();
    EXPECT_TRUE(glIsList(reward));
    EXPECT_NE(reward, ship);
    EXPECT_EQ(rewardMeshList(), reward);
    EXPECT_EQ(shipMeshList(), ship);
}

TEST_F(MeshList, LeavesMaterialNeutralAndTheShipKeepsThePlayerColour) {
    const GLfloat playerColour[4] = {0.8f, 0.2f, 0.2f, 1.0f};
    const GLfloat one[4] = {1, 1, 1, 1}, zero[4] = {0, 0, 0, 0};
    struct Case {
        GLuint (*list)();
        const GLfloat* diffuseAfter;
    };
    for (const Case& c : {Case{shipMeshList, playerColour}, Case{rewardMeshList, one}}) {
        glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, playerColour);
        glCallList(c.list());
        for (GLenum side : {GL_FRONT, GL_BACK}) {
            GLfloat shininess = 0, diffuse[4], specular[4], ambient[4], emission[4];
            glGetMaterialfv(side, GL_SHININESS, &shininess);
            glGetMaterialfv(side, GL_DIFFUSE, diffuse);
            glGetMaterialfv(side, GL_SPECULAR, specular);
            glGetMaterialfv(side, GL_AMBIENT, ambient);
            glGetMaterialfv(side, GL_EMISSION, emission);
            EXPECT_FLOAT_EQ(shininess, 1.0f);
            for (int i = 0; i < 4; ++i) {
                EXPECT_FLOAT_EQ(diffuse[i], c.diffuseAfter[i]);
                EXPECT_FLOAT_EQ(specular[i], one[i]);
                EXPECT_FLOAT_EQ(ambient[i], zero[i]);
                EXPECT_FLOAT_EQ(emission[i], zero[i]);
            }
        }
    }
}

TEST_F(MeshList, DrawsEveryFaceInGameUnitsWithItsRunsMaterial) {
    struct Case {
        const char* name;
        GLuint (*list)();
        const MeshModel* model;
        double width, height, length;
    };
    lightAmbientOnly();
    for (const Case& c : {Case{"ship", shipMeshList, &shipModel, 68.68, 9.9, 100},
                          Case{"reward", rewardMeshList, &rewardModel, 100, 59.32, 100}}) {
        SCOPED_TRACE(c.name);
        const auto triangles = drawThroughFeedback(c.list());
        ASSERT_EQ(int(triangles.size()), c.model->faceCount);
        const std::vector<int> material = materialOfEachFace(*c.model);
        Extent extent;
        for (size_t f = 0; f < triangles.size(); ++f)
            for (const Drawn& v : triangles[f]) {
                extent.add(v);
                const MeshMaterial& m = c.model->materials[material[f]];
                for (int i = 0; i < 3; ++i)
                    ASSERT_NEAR(v.colour[i], m.ambient[i], 1e-3) << "face " << f;
            }
        EXPECT_NEAR(extent.size(0), c.width, 0.01);
        EXPECT_NEAR(extent.size(1), c.height, 0.01);
        EXPECT_NEAR(extent.size(2), c.length, 0.01);
        for (int a = 0; a < 3; ++a)
            EXPECT_NEAR(extent.lo[a] + extent.hi[a], 0, 0.01) << "centred on axis " << a;
    }

    // The ship's nose leads along -Z: the front is a narrow point and the span sits at the back.
    Extent front, rear;
    for (const auto& triangle : drawThroughFeedback(shipMeshList()))
        for (const Drawn& v : triangle) {
            if (v.z < -35) front.add(v);
            if (v.z > 20) rear.add(v);
        }
    EXPECT_LT(front.size(0), 20);
    EXPECT_GT(rear.size(0), 60);
}

TEST_F(MeshList, LightFromAboveFallsOnTheShipsTopAndTheRewardsTable) {
    // A white light straight above, nothing else: a vertex is as bright as its normal faces the
    // model's top, which is +z for the ship and +y for the reward.
    const GLfloat none[4] = {0, 0, 0, 1}, white[4] = {1, 1, 1, 1}, above[4] = {0, 1, 0, 0};
    glEnable(GL_LIGHTING);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, none);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_LIGHT0);
    glLightfv(GL_LIGHT0, GL_POSITION, above);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
    glLightfv(GL_LIGHT0, GL_SPECULAR, none);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, white); // the ship's player colour

    struct Case {
        const char* name;
        GLuint (*list)();
        const MeshModel* model;
        float MeshPoint::*up;
    };
    for (const Case& c : {Case{"ship", shipMeshList, &shipModel, &MeshPoint::z},
                          Case{"reward", rewardMeshList, &rewardModel, &MeshPoint::y}}) {
        SCOPED_TRACE(c.name);
        const auto triangles = drawThroughFeedback(c.list());
        ASSERT_EQ(int(triangles.size()), c.model->faceCount);
        const std::vector<int> material = materialOfEachFace(*c.model);
        const bool setsDiffuse = c.model == &rewardModel;
        for (size_t f = 0; f < triangles.size(); ++f)
            for (int k = 0; k < 3; ++k) {
                const double facing = std::max(0.0f, c.model->normals[c.model->faces[f].normal[k]].*c.up);
                const double diffuse = setsDiffuse ? c.model->materials[material[f]].diffuse[0] : 1.0;
                ASSERT_NEAR(triangles[f][k].colour[0], diffuse * facing, 2e-3)
                    << "face " << f << " corner " << k;
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

    lightAmbientOnly();
    const GLuint list = compileModelList(model, ModelKind::Reward);
    const auto triangles = drawThroughFeedback(list);
    ASSERT_EQ(triangles.size(), 4u);
    const float expected[4] = {0.1f, 0.9f, 0.9f, 0.9f};
    for (int f = 0; f < 4; ++f)
        EXPECT_NEAR(triangles[f][0].colour[0], expected[f], 1e-3) << "face " << f;
    glDeleteLists(list, 1);
}

TEST_F(MeshList, ShipSeenFromTheChaseCameraFillsTheLowerMiddleOfTheFrame) {
    // The game's view: eye 120 behind, 30 above and 3 right of the ship, the ship's own light just
    // above and ahead of its centre, the player colour as diffuse.
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60.0, 4.0 / 3.0, 0.1, 30000.0);
    glTranslatef(-3, -30, -120);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const GLfloat light[4] = {0, 5, -5, 1}, white[4] = {1, 1, 1, 1}, grey[4] = {0.7f, 0.7f, 0.7f, 1};
    const GLfloat ambient[4] = {0.2f, 0.2f, 0.2f, 1};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    glLightfv(GL_LIGHT0, GL_POSITION, light);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
    glLightfv(GL_LIGHT0, GL_SPECULAR, white);
    glLightf(GL_LIGHT0, GL_QUADRATIC_ATTENUATION, 5e-8f);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, grey);
    glCallList(shipMeshList());

    // Where the ship's centre line falls on the screen: the eye is a little to its right.
    GLdouble modelview[16], projection[16], centreX, centreY, centreZ;
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    gluProject(0, 0, 20, modelview, projection, viewport, &centreX, &centreY, &centreZ);

    const std::vector<unsigned char> pixels = testing_support::readFrame();
    int covered = 0, left = 0, brightest = 0, x0 = 800, x1 = -1, y0 = 600, y1 = -1;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 800; ++x) {
            const unsigned char* p = &pixels[(y * 800 + x) * 3];
            const int level = std::max({p[0], p[1], p[2]});
            brightest = std::max(brightest, level);
            if (level < 3) continue;
            ++covered;
            if (x < centreX) ++left;
            x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
        }
    EXPECT_GT(covered, 800 * 600 / 50);
    EXPECT_LT(covered, 800 * 600 / 5);
    EXPECT_GT(brightest, 128) << "the ship's own light should light part of it";
    EXPECT_NEAR(double(left) / covered, 0.5, 0.05) << "a symmetric ship seen from behind";
    // Wider than it is tall on screen, below the middle and clear of the frame's edges.
    EXPECT_GT(x1 - x0, 2 * (y1 - y0));
    EXPECT_GT(x0, 50);
    EXPECT_LT(x1, 750);
    EXPECT_GT(y0, 10);
    EXPECT_LT(y1, 300);
}
