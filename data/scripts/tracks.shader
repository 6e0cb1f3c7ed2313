// The track pictures of the race set-up pages, one per row of the full level table
// (rows 0 to 9, "trat01s" to "trat10s"): each its own colour with its number. The
// arcade, single-race, time-attack, training and career pages show them.

textures\menu\trat01s
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/menu/trat01s
		blendfunc blend
		rgbgen vertex
		alphagen vertex
	}
}

textures\menu\trat02s
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/menu/trat02s
		blendfunc blend
		rgbgen vertex
		alphagen vertex
	}
}

textures\menu\trat03s
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/menu/trat03s
		blendfunc blend
		rgbgen vertex
		alphagen vertex
	}
}

textures\menu\trat04s
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/menu/trat04s
		blendfunc blend
		rgbgen vertex
		alphagen vertex
	}
}

textures\menu\trat05s
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/menu/trat05s
		blendfunc blend
		rgbgen vertex
		alphagen vertex
	}
}

textures\menu\trat06s
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/menu/trat06s
		blendfunc blend
		rgbgen vertex
		alphagen vertex
	}
}

textures\menu\trat07s
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/menu/trat07s
		blendfunc blend
		rgbgen vertex
		alphagen vertex
	}
}

textures\menu\trat08s
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/menu/trat08s
		blendfunc blend
		rgbgen vertex
		alphagen vertex
	}
}

textures\menu\trat09s
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/menu/trat09s
		blendfunc blend
		rgbgen vertex
		alphagen vertex
	}
}

textures\menu\trat10s
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/menu/trat10s
		blendfunc blend
		rgbgen vertex
		alphagen vertex
	}
}
