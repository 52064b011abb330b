-- Second process: reopens the saved session, checks the plug-in is back in
-- place and still passes the audio unchanged, then saves a new snapshot.
dofile (os.getenv ("LUMASPAN_SCRIPT_DIR") .. "/common.lua")

local dir = os.getenv ("LUMASPAN_SESSION_DIR")

start_engine ()
assert (load_session (dir, "lumaspan"), "could not load the session")

local track = Session:route_by_name ("Analysed")
assert (not track:isnil (), "the track is gone")
local plugin = find_processor (track, "KLV Lumaspan")
local checker = find_processor (track, "Lumaspan Test Check")
assert (plugin and checker, "the plug-in or the checker is gone")
assert (plugin:active (), "the plug-in is not active after reloading")

roll_and_check (checker, 1)

Session:save_state ("reloaded", false, false, false, false, false)
say ("saved snapshot reloaded")
close_session ()
