// The ship and reward models: their tables, the display lists made from them and how they are lit.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "math/Vector3.h"
#include "ships/MeshLists.h"
#include "ships/ModelData.h"
#include "support/GLTestWindow.h"

using MeshList = testing_support::GLTest;

// The tables first; then one lit pass checks positions, each run's material and that the normals were
// turned with the positions, and last what the list leaves behind.
TEST_F(MeshList, TablesAreClosedAndOutwardFacingAndDrawnInGameUnitsWithRunMaterialsAndTurnedNormals) {
    glDisable(GL_TEXTURE_2D); // the ship and the reward are drawn untextured
    glDisable(GL_CULL_FACE);
    testing_support::flatProjection(); // game units one to one onto the window
    // A faint white ambient light and LIGHT0's white straight above: each vertex shows a fifth of its
    // material's ambient colour, its diffuse colour times how far its normal faces up, and half its
    // specular colour in the highlight that the viewer, looking down -Z, sees.
    const GLfloat faint[4] = {0.2f, 0.2f, 0.2f, 1}, above[4] = {0, 1, 0, 0}, half[4] = {0.5f, 0.5f, 0.5f, 1};
    glEnable(GL_LIGHT0);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, faint);
    glLightfv(GL_LIGHT0, GL_POSITION, above); // under the identity model-view
    glLightfv(GL_LIGHT0, GL_SPECULAR, half);
    const GLfloat playerColour[4] = {0.8f, 0.2f, 0.2f, 1}, one[4] = {1, 1, 1, 1}, zero[4] = {0, 0, 0, 0},
                  glow[4] = {0.3f, 0.3f, 0.3f, 1};
    for (const bool ship : {true, false}) {
        SCOPED_TRACE(ship ? "ship" : "reward");
        const MeshModel& m = ship ? shipModel : rewardModel;
        const double size[3] = {ship ? 68.68 : 100, ship ? 9.9 : 59.32, 100}; // width, height, length
        std::vector<int> material;                                            // of each face
        for (int r = 0; r < m.runCount; ++r)
            material.insert(material.end(), m.runs[r].faceCount, m.runs[r].material);
        ASSERT_EQ(int(material.size()), m.faceCount);
        // Every corner's normal leans the way the triangle winds, and the winding encloses a positive
        // volume: with back faces culled, the outside is what shows.
        double volume = 0;
        auto v3 = [](MeshPoint p) { return Vector3(p.x, p.y, p.z); };
        for (int f = 0; f < m.faceCount; ++f) {
            const MeshFace& face = m.faces[f];
            for (int k = 0; k < 3; ++k)
                ASSERT_TRUE(face.position[k] >= 0 && face.position[k] < m.positionCount &&
                            face.normal[k] >= 0 && face.normal[k] < m.normalCount && face.texCoord[k] >= 0 &&
                            face.texCoord[k] < m.texCoordCount)
                    << "face " << f;
            const Vector3 a = v3(m.positions[face.position[0]]), b = v3(m.positions[face.position[1]]),
                          c = v3(m.positions[face.position[2]]);
            Vector3 ab = b, ac = c;
            ab.subtract(a);
            ac.subtract(a);
            for (int k = 0; k < 3; ++k)
                ASSERT_GT(ab.cross(ac).dot(v3(m.normals[face.normal[k]])), 0) << "face " << f;
            volume += a.dot(b.cross(c)) / 6.0;
        }
        EXPECT_GT(volume, 0);

        glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, playerColour);
        glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, glow); // each run sets its own
        GLuint (*const compile)() = ship ? shipMeshList : rewardMeshList;
        const GLuint list = compile();
        const auto drawn = testing_support::feedbackTriangles([list] { glCallList(list); });
        EXPECT_EQ(compile(), list) << "compiled once";
        ASSERT_EQ(int(drawn.size()), m.faceCount);
        double lo[3] = {1e9, 1e9, 1e9}, hi[3] = {-1e9, -1e9, -1e9}, front = 0, rear = 0; // half widths
        for (int f = 0; f < m.faceCount; ++f)
            for (int k = 0; k < 3; ++k) {
                const testing_support::FeedbackVertex& v = drawn[f][k];
                const double p[3] = {v.x - 400.0, v.y - 300.0, (0.5 - v.z) * 2000.0}; // back in game units
                for (int a = 0; a < 3; ++a)
                    lo[a] = std::min(lo[a], p[a]), hi[a] = std::max(hi[a], p[a]);
                if (p[2] < -35) front = std::max(front, std::fabs(p[0]));
                if (p[2] > 20) rear = std::max(rear, std::fabs(p[0]));
                const MeshMaterial& mat = m.materials[material[f]];
                const MeshPoint n = m.normals[m.faces[f].normal[k]];
                const double facing = std::max(0.0f, ship ? n.z : n.y); // the model's top is +Y in the game
                // Toward the half-way vector (0, 1, 1) / sqrt 2 in game axes; the ship's are turned.
                const double half = std::max(0.0, (ship ? n.z - n.y : n.y + n.z) / std::sqrt(2.0));
                const double shine = facing > 0 ? 0.5 * std::pow(half, mat.shininess) : 0;
                for (int i = 0; i < 3; ++i) // the ship keeps the caller's diffuse colour
                    ASSERT_NEAR(v.colour[i],
                                std::min(1.0, 0.2 * mat.ambient[i] +
                                                  (ship ? playerColour : mat.diffuse)[i] * facing +
                                                  mat.specular[i] * shine),
                                2e-3)
                        << "face " << f << " corner " << k;
            }
        for (int a = 0; a < 3; ++a) // as large as given, and centred
            EXPECT_TRUE(std::fabs(hi[a] - lo[a] - size[a]) < 0.01 && std::fabs(lo[a] + hi[a]) < 0.01)
                << "axis " << a << ": " << lo[a] << " to " << hi[a];
        // The ship's nose leads along -Z: a narrow point in front, the span at the back.
        EXPECT_TRUE(!ship || (front < 10 && rear > 30)) << front << " in front, " << rear << " at the back";
        // Whatever is drawn next finds a neutral material, and the player colour still set on the ship.
        for (auto [which, expected] :
             {std::pair{GL_DIFFUSE, ship ? playerColour : one}, std::pair{GL_SPECULAR, one},
              std::pair{GL_AMBIENT, zero}, std::pair{GL_EMISSION, zero}, std::pair{GL_SHININESS, one}}) {
            GLfloat got[4] = {1, 1, 1, 1}; // shininess is one value
            glGetMaterialfv(GL_FRONT, which, got);
            EXPECT_TRUE(std::equal(got, got + 4, expected)) << "material " << which;
        }
    }
}
