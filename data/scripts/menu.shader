// The menu's 2D materials: the cursor, the snow, the buttons' looks, the panels and
// the lens pictures of the main menu. Each maps its picture from data/textures/menu,
// blended by its alpha; vertex colour and alpha carry the pages' fades. The backdrop
// alone is opaque: it hides the course, which is then not drawn at all. The text
// batcher winds its quads clockwise, so every one says "cull none". 2D is drawn at
// depth 0, where "lequal" always passes: each stage says "depthfunc always", which
// spares a software renderer the depth buffer (and the backdrop writes no depth).

Kurzor
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/menu/cursor
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\menu\snow
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/menu/snow
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\menu\button_up
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/menu/button_up
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\menu\button_over
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/menu/button_over
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\menu\button_down
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/menu/button_down
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\menu\panel
{
	nopicmip
	nomipmaps
	cull none
	{
		map textures/menu/panel
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

// The panels' picture without its alpha: the backdrop under the main menu.
textures\menu\backdrop
{
	nopicmip
	nomipmaps
	cull none
	{
		map textures/menu/panel
		rgbgen vertex
		depthfunc always
		depthwritenone
	}
}

textures\menu\panel_border
{
	nopicmip
	nomipmaps
	cull none
	{
		map textures/menu/panel_border
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

BlackScreen
{
	nopicmip
	nomipmaps
	cull none
	{
		map textures/menu/black
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\menu\lens_single
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/menu/lens_single
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\menu\lens_multi
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/menu/lens_multi
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\menu\lens_fun
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/menu/lens_fun
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\menu\lens_options
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/menu/lens_options
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\menu\lens_credits
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/menu/lens_credits
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\menu\lens_exit
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/menu/lens_exit
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\menu\lens_arcade
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/menu/lens_arcade
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\menu\lens_timeattack
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/menu/lens_timeattack
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\menu\lens_career
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/menu/lens_career
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\menu\lens_singlerace
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/menu/lens_singlerace
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\menu\lens_back
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/menu/lens_back
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\menu\lens_creategame
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/menu/lens_creategame
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\menu\lens_joingame
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/menu/lens_joingame
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\menu\lens_runtraining
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/menu/lens_runtraining
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\menu\lens_shoottraining
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/menu/lens_shoottraining
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}

textures\menu\lens_buddygames
{
	nopicmip
	nomipmaps
	cull none
	{
		clampmap textures/menu/lens_buddygames
		blendfunc blend
		rgbgen vertex
		alphagen vertex
		depthfunc always
	}
}
