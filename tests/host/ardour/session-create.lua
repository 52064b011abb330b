-- First process: a session with one stereo track, the test source, the plug-in
-- by name and the checker; rolls and saves.
dofile (os.getenv ("LUMASPAN_SCRIPT_DIR") .. "/common.lua")

local dir = os.getenv ("LUMASPAN_SESSION_DIR")
start_engine ()
assert (create_session (dir, "lumaspan", 48000), "could not create the session")

local tracks = Session:new_audio_track (2, 2, nil, 1, "Analysed", ARDOUR.PresentationInfo.max_order, ARDOUR.TrackMode.Normal, true, false)
assert (tracks:size () == 1, "no track")
local track = tracks:front ()

local source = ARDOUR.LuaAPI.new_luaproc (Session, "Lumaspan Test Source")
local plugin = ARDOUR.LuaAPI.new_plugin (Session, "KLV Lumaspan", ARDOUR.PluginType.VST3, "")
local checker = ARDOUR.LuaAPI.new_luaproc (Session, "Lumaspan Test Check")
assert (not source:isnil () and not checker:isnil (), "the test processors were not found")
assert (not plugin:isnil (), "Ardour does not know the plug-in KLV Lumaspan")

assert (track:add_processor_by_index (source, 0, nil, true) == 0, "could not add the source")
assert (track:add_processor_by_index (plugin, 1, nil, true) == 0, "could not add the plug-in")
assert (track:add_processor_by_index (checker, 2, nil, true) == 0, "could not add the checker")
assert (plugin:active (), "the plug-in is not active")

local insert = plugin:to_insert ()
local vst3 = insert:plugin (0)
say ("plug-in:", vst3:name (), vst3:maker (), vst3:unique_id (), "inputs", insert:input_streams ():n_audio (), "outputs", insert:output_streams ():n_audio ())
assert (vst3:name () == "KLV Lumaspan")
assert (insert:input_streams ():n_audio () == 2 and insert:output_streams ():n_audio () == 2, "the plug-in is not 2 in / 2 out")

roll_and_check (checker, 2)
Session:save_state ("", false, false, false, false, false)
say ("saved")
close_session ()
