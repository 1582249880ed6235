// The screen object's movie command: the movie player with the screen's own
// event pump, picture and placement, and the sound on the audio engine's
// mixer.

#include "media/audio/audio_cantrel.h"
#include "media/movie/movie_player.h"
#include "media/screen/sorvo_draw.h"

void TSorvoDraw::PlayMovie(const std::string& fileName, int x, int y, int width, int height) {
    MovieHost host;
    host.processMessages = [this] { ProcessMessages(); };
    host.background = ScreenSource;
    host.place = [this](platform::Rect r) { return ScreenToDestination(r); };
    if (GameAudio && GameAudio->Mixer().IsOpen()) host.mixer = &GameAudio->Mixer();
    struct Resume {
        TSorvoDraw* self;
        ~Resume() { self->ResetFrameTimer(); }
    } resume{this};
    PlayMovieFile(fileName, x, y, width, height, host);
}
