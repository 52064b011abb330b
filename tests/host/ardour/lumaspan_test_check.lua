ardour {
	["type"]    = "dsp",
	name        = "Lumaspan Test Check",
	category    = "Utility",
	license     = "MIT",
	author      = "Orvalen",
	description = [[Checks, sample by sample, that its input is still the Lumaspan Test Source signal]]
}

-- Shared memory for the session script: [0] samples checked, [1] samples that
-- differ from the source signal, [2] breaks in the index sequence.

function dsp_ioconfig ()
	return { { audio_in = 2, audio_out = 2 } }
end

function dsp_init (rate)
	self:shmem ():allocate (3)
	self:shmem ():clear ()
end

local checked, wrong, breaks = 0, 0, 0
local previous = -1

function dsp_run (ins, outs, n_samples)
	local left = ins[1]:array ()
	local right = ins[2]:array ()
	for s = 1, n_samples do
		local i = math.floor ((left[s] + 0.5) * 1048576 + 0.5)
		if left[s] ~= i / 1048576 - 0.5 or right[s] ~= ((i * 40503 + 12345) % 65536 - 32768) / 32768 then
			wrong = wrong + 1
		elseif previous >= 0 and i ~= (previous + 1) % 1048576 then
			breaks = breaks + 1
		end
		previous = i
		checked = checked + 1
	end
	for c = 1, 2 do
		if ins[c] ~= outs[c] then
			ARDOUR.DSP.copy_vector (outs[c]:offset (0), ins[c]:offset (0), n_samples)
		end
	end
	local shared = self:shmem ()
	shared:atomic_set_int (0, checked)
	shared:atomic_set_int (1, wrong)
	shared:atomic_set_int (2, breaks)
end
